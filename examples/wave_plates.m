% Light polarized along x through a quarter-wave plate at 45 degrees
% (circular), a half-wave plate at 22.5 degrees (linear at 45), a rotator of
% 30 degrees (linear at 30) and a general Jones matrix (a retarder of pi/3
% with its fast axis at 20 degrees, elliptical). Each panel draws the
% ellipse the field vector traces at the beam's centre, from its Stokes
% parameters (KVStokes), with the sense of turning (S3 > 0: from x towards
% y) as a red arc ending in a dot. Writes build/demo/wave_plates.png.

side = 4e-3;
lambda = 633e-9;
N = 64;
Fx = KVGaussAperture(1e-3, 0, 0, 1, KVBegin(side, lambda, N));
Fy = KVIntAttenuator(0, Fx);    % no y component
c = N / 2 + 1;                  % the centre sample

a = 20 * pi / 180;
R = [cos(a), -sin(a); sin(a), cos(a)];
J = R * diag([1, exp(1i * pi / 3)]) * R.';
cases = {'input: linear along x', Fx, Fy
         'quarter wave at 45°', [], []
         'half wave at 22.5°', [], []
         'rotator, 30°', [], []
         'Jones: \pi/3 retarder at 20°', [], []};
[cases{2, 2}, cases{2, 3}] = KVWavePlate(pi / 2, pi / 4, Fx, Fy);
[cases{3, 2}, cases{3, 3}] = KVWavePlate(pi, pi / 8, Fx, Fy);
[cases{4, 2}, cases{4, 3}] = KVRotator(pi / 6, Fx, Fy);
[cases{5, 2}, cases{5, 3}] = KVJones(J, Fx, Fy);

[fig, pos] = demo_figure(1, 5, [200 230], 'heading', ...
                         'x-polarized light through wave plates, a rotator and a Jones matrix', ...
                         'shared', true);
t = linspace(0, 2 * pi, 200);
for k = 1:rows(cases)
  [S0, S1, S2, S3] = KVStokes(cases{k, 2}, cases{k, 3});
  s = [S1(c, c), S2(c, c), S3(c, c)] / S0(c, c);
  psi = atan2(s(2), s(1)) / 2;                 % azimuth of the major axis
  chi = asin(max(-1, min(1, s(3)))) / 2;       % ellipticity angle
  E = [cos(psi), -sin(psi); sin(psi), cos(psi)] * [cos(chi) * cos(t); sin(chi) * sin(t)];
  ax = axes('units', 'pixels', 'position', pos{k});
  plot(ax, E(1, :), E(2, :), 'b-', 'linewidth', 2);
  hold(ax, 'on');
  if abs(s(3)) > 1e-6      % the sense of turning: an arc from t = 0, a dot at its end
    plot(ax, E(1, 1:25), E(2, 1:25), 'r-', 'linewidth', 3, E(1, 25), E(2, 25), 'ro', ...
         'markerfacecolor', 'r', 'markersize', 6);
  end
  plot(ax, [-1.1 1.1], [0 0], 'k:', [0 0], [-1.1 1.1], 'k:');
  hold(ax, 'off');
  axis(ax, [-1.1 1.1 -1.1 1.1]);
  axis(ax, 'square');
  set(ax, 'xtick', [-1 0 1], 'ytick', [-1 0 1]);
  if k > 1
    set(ax, 'yticklabel', {});
  end
  s(abs(s) < 5e-3) = 0;    % no -0.00
  xlabel(ax, sprintf('S_1 %.2f  S_2 %.2f  S_3 %.2f', s));
  title(ax, cases{k, 1});
end
[S0, ~, ~, S3] = KVStokes(cases{2, 2}, cases{2, 3});
printf('  wave_plates.png: behind the quarter-wave plate at 45 degrees S3/S0 = %.15f\n', ...
       S3(c, c) / S0(c, c));
demo_save(fig, 'wave_plates', ...
          ['The polarization ellipse at the centre of an x-polarized beam behind a quarter-wave ' ...
           'plate at 45 degrees (KVWavePlate: circular, S3 = -S0 with the time dependence ' ...
           'exp(-i omega t)), a half-wave plate at 22.5 degrees (linear at 45), a rotator of ' ...
           '30 degrees (KVRotator) and a general Jones matrix (KVJones: a pi/3 retarder with its ' ...
           'fast axis at 20 degrees, elliptical). The Stokes parameters, normalized by S0, are ' ...
           'under each panel (KVStokes); the red arc runs, to its dot, in the sense in which the field turns.']);

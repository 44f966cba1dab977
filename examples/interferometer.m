% A two-beam interferometer. A collimated beam is split into two arms of
% half the intensity each; one arm is tilted slightly (left), or carries a
% weak lens (right), and the two are mixed again. The tilt gives straight
% fringes spaced lambda / tilt apart; the lens gives circular fringes.
% Below each interferogram: the phase difference between the arms, the
% phase of the object arm unwrapped from the centre.
% Writes build/demo/interferometer.png.

side = 8e-3;
lambda = 633e-9;
N = 256;
w = 3e-3;                  % beam radius
tilt = 1e-3;               % rad, along x
f = 2;                     % focal length of the lens, m

beam = KVGaussAperture(w, 0, 0, 1, KVBegin(side, lambda, N));
half = KVIntAttenuator(0.5, beam);
arms = {KVTilt(tilt, 0, half), KVLens(f, 0, 0, half)};

% Sample F(r, c) lies at x = (c - 1 - N/2)*side/N, y likewise with r.
x = ((0:N-1) - N / 2) * side / N;
[fig, pos] = demo_figure(2, 2, 250, 'bar', 'each', 'heading', ...
                         'Two-beam interferometer, λ = 633 nm, beam radius 3 mm');
names = {'object arm tilted by 1 mrad', 'object arm through a lens of f = 2 m'};
for k = 1:2
  out = KVBeamMix(half, arms{k});
  I = KVIntensity(1, out);
  % The reference arm is flat: the phase of the object arm, unwrapped from
  % the centre, is the phase difference.
  P = KVPhaseUnwrap(1, KVPhase(arms{k}));
  printf('  arm %d: phase difference across the grid %.1f rad, contrast %.2f\n', k, ...
          max(P(:)) - min(P(:)), ...
          (max(I(N/2 + 1, :)) - min(I(N/2 + 1, :))) / max(I(N/2 + 1, :)));
  demo_image(pos{1, k}, x, x, I, 'clim', [0 1], 'bar', 'intensity / peak', ...
             'title', ['interferogram: ' names{k}]);
  demo_image(pos{2, k}, x, x, P - P(N / 2 + 1, N / 2 + 1), 'map', viridis(256), ...
             'bar', 'phase difference (rad)', 'title', 'phase of the object arm − reference');
end
printf('  tilt fringes %.3g mm apart, %.1f across the grid\n', lambda / tilt * 1e3, ...
       side * tilt / lambda);
demo_save(fig, 'interferometer', ...
          ['Top: the intensity where the two arms meet again, each scaled to its peak; bottom: the ' ...
           'phase difference between the arms (the reference arm is flat), 0 on the axis. The tilt ' ...
           'of 1 mrad gives straight fringes λ/tilt = 0.63 mm apart; the lens gives circular ' ...
           'fringes, the n-th at a radius of √(2nλf).']);

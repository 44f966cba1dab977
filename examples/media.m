% Light through media.
% 1. A parabolic graded-index lens, n^2 = n0^2*(1 - g^2*r^2), seen from the
%    side (Ixz of KVMedium): a spot launched 8 um off axis crosses to the
%    other side after half a period pi/g and comes back after a period.
% 2. The first modes of a step-index fibre (V = 2.77) from KVMode, with
%    neff against the weakly guiding dispersion equation for LP01.
% 3. A thermal lens: a heated rod whose temperature falls parabolically to
%    its surface; the wave front after the rod against the thin-lens focal
%    length R^2/(2*L*dn/dT*dT).
% Writes build/demo/media_grin.png, media_fibre.png and media_thermal.png.

outdir = demo_dir();
bars = {'', '', 'mode / largest |sample|'};

% --- 1. GRIN lens ---------------------------------------------------------
N = 128; L = 64e-6; lambda = 1e-6; n0 = 1.5; g = 1e4;
F = KVBegin(L, lambda, N);
[x, y] = KVCoordinates(F);
n = n0 * sqrt(1 - g^2 * (x.^2 + y.^2));
w = sqrt(2 / (2 * pi / lambda * n0 * g));      % the matched beam
F = KVGaussAperture(w, 8e-6, 0, 1, F);
period = 2 * pi / g;
steps = 628;
[G, Ixz] = KVMedium(period, steps, n, F, 0);
z = (0:steps) * period / steps;
xs = x(1, :);
c = (xs * Ixz) ./ sum(Ixz, 1);                   % the centroid at each step
[fig, pos] = demo_figure(1, 1, [760 360], 'heading', ...
                         sprintf('Graded-index lens, n0 = %.1f, g = %.0f/m: side view', n0, g));
ax = axes('units', 'pixels', 'position', pos{1, 1});
imagesc(1e6 * z, 1e6 * xs, Ixz); axis xy; colormap(ax, hot(256)); hold on;
plot(1e6 * z, 1e6 * c, 'c-', 'linewidth', 1);
plot(1e6 * [period, period] / 2, [-30 30], 'w--', 1e6 * [period, period], [-30 30], 'w--');
text(1e6 * period / 2, 27, ' \pi/g', 'color', 'w');
text(1e6 * period, 27, ' 2\pi/g', 'color', 'w', 'horizontalalignment', 'right');
xlabel('z (µm)'); ylabel('x (µm)'); ylim([-30 30]);
demo_save(fig, 'media_grin', sprintf(['A spot 8 um off the axis of a parabolic graded-index lens ' ...
          '(n0 = 1.5, g = 1e4/m, lambda = 1 um), seen from the side (Ixz of KVMedium), with its ' ...
          'centroid (cyan): at pi/g = %.0f um it is at %.3f um, after 2 pi/g at %.3f um.'], ...
          1e6 * period / 2, 1e6 * c(steps / 2 + 1), 1e6 * c(end)));
printf('  media_grin.png: centroid %.3f um at pi/g, %.3f um at 2 pi/g (launched at 8 um)\n', ...
       1e6 * c(steps / 2 + 1), 1e6 * c(end));

% --- 2. Fibre modes -------------------------------------------------------
N = 128; L = 40e-6; lambda = 1.31e-6; a = 4.5e-6; n1 = 1.4504; n2 = 1.4447;
F = KVBegin(L, lambda, N);
[x, y] = KVCoordinates(F);
d = L / N; frac = zeros(N); s = 16;               % the core's edge area-averaged
for p = 1:s
  for q = 1:s
    frac += (x + ((p - 0.5) / s - 0.5) * d).^2 + (y + ((q - 0.5) / s - 0.5) * d).^2 < a^2;
  end
end
n = n2 + frac / s^2 * (n1 - n2);
k0 = 2 * pi / lambda;
V = k0 * a * sqrt(n1^2 - n2^2);
f = @(u) u .* besselj(1, u) ./ besselj(0, u) - ...
         sqrt(V^2 - u.^2) .* besselk(1, sqrt(V^2 - u.^2)) ./ besselk(0, sqrt(V^2 - u.^2));
u = fzero(f, [1e-6, 2.404]);
theory = sqrt(n1^2 - (u / (k0 * a))^2);
[fig, pos, barpos] = demo_figure(1, 3, 240, 'bar', 'last', 'shared', 'y', 'heading', ...
                                 sprintf(['Step-index fibre, V = %.2f: the guided modes ' ...
                                          '(LP01 theory: neff = %.7f)'], V, theory));
names = {'LP01', 'LP11a', 'LP11b'};
for m = 0:2
  [M, neff] = KVMode(n, m, F);
  lbl = sprintf('%s: neff = %.7f', names{m + 1}, neff);
  if m == 0
    neff0 = neff;
    printf('  media_fibre.png: LP01 neff %.9f, theory %.9f (%.1e)\n', neff, theory, neff - theory);
  end
  S = real(M(1:N, 1:N));
  demo_image(pos{1, m + 1}, x(1, :), y(:, 1).', S / max(abs(S(:))), 'unit', 'µm', 'clim', [-1 1], ...
             'map', jet(256), 'title', lbl, 'yticks', m == 0, 'bar', bars{m + 1}, ...
             'barpos', barpos);
end
demo_save(fig, 'media_fibre', sprintf(['The guided modes of a step-index fibre (a = 4.5 um, ' ...
          'n1 = 1.4504, n2 = 1.4447, 1.31 um: V = %.2f) from KVMode, the core edge area-averaged, ' ...
          'N = 128 on 40 um. The LP01 index lies %.1e from the root of the dispersion equation; ' ...
          'the LP11 pair is degenerate and comes with the first member''s lobes on the x axis.'], ...
          V, neff0 - theory));

% --- 3. Thermal lens ------------------------------------------------------
N = 256; L = 6e-3; lambda = 1.064e-6; R = 4e-3; len = 0.05; dndT = 7.3e-6; dT = 20; n0 = 1.82;
F = KVBegin(L, lambda, N);
[x, y] = KVCoordinates(F);
r2 = min(x.^2 + y.^2, R^2);
T = dT * (1 - r2 / R^2);                           % above the surface temperature
n = n0 + dndT * T;
F = KVGaussAperture(1e-3, 0, 0, 1, F);
G = KVMedium(len, 50, n, F);
k0 = 2 * pi / lambda;
f_thin = R^2 / (2 * len * dndT * dT);
row = N / 2 + 1;
xr = x(row, :);
ph = unwrap(angle(G(row, 1:N)));
in = abs(xr) < 1e-3;
p = polyfit(xr(in).^2, ph(in), 1);
f_meas = -k0 / (2 * p(1));
[fig, pos] = demo_figure(1, 2, [400 300], 'heading', ...
                         sprintf('Thermal lens: Nd:YAG rod, %.0f mm long, %.0f K hotter on axis', ...
                                 1e3 * len, dT));
axes('units', 'pixels', 'position', pos{1, 1});
plot(1e3 * xr, T(row, :), 'r-', 'linewidth', 1.5);
xlabel('x (mm)'); ylabel('T - T_{surface} (K)'); title('temperature');
axes('units', 'pixels', 'position', pos{1, 2});
plot(1e3 * xr(in), ph(in) - max(ph(in)), 'b-', 'linewidth', 1.5); hold on;
plot(1e3 * xr(in), -k0 * xr(in).^2 / (2 * f_thin), 'k--');
xlabel('x (mm)'); ylabel('phase (rad)');
legend({sprintf('KVMedium: f = %.3f m', f_meas), sprintf('thin lens: f = %.3f m', f_thin)}, ...
       'location', 'south');
title('wave front after the rod');
demo_save(fig, 'media_thermal', sprintf(['A heated rod (dn/dT = 7.3e-6/K, radius 4 mm, 50 mm long) ' ...
          'whose centre is 20 K above its surface: the parabolic temperature makes a parabolic ' ...
          'index. The wave front after KVMedium gives f = %.3f m; the thin-lens formula ' ...
          'R^2/(2 L dn/dT dT) gives %.3f m (the rest is the rod''s own thickness, about L/(3 n0 f)).'], ...
          f_meas, f_thin));
printf('  media_thermal.png: focal length %.4f m from the wave front, thin lens %.4f m\n', ...
       f_meas, f_thin);

% A Gaussian beam through a lens of f = 0.5 m, followed through its focus
% by KVFocus: each plane on a grid that shrinks and grows with the beam
% (side size*|f - z|/f), so that 256 samples hold the beam everywhere. Left:
% the D4sigma diameter (KVBeamWidth) against the Gaussian-beam (ABCD) law,
% and the side of each plane's grid. Right: the profiles on their own grids,
% in units of the beam radius, against the Gaussian. Writes
% build/demo/converging_beam.png.

side = 12e-3;
lambda = 1064e-9;
N = 256;
W = 2e-3;                       % 1/e^2 intensity radius at the lens
f = 0.5;
F = KVGaussAperture(W / sqrt(2), 0, 0, 1, KVBegin(side, lambda, N));

% Planes where KVFocus holds to 1e-3 (its help: NF = L^2/(lambda*|f - z|) of
% at least 4*size/D, here |f - z| >= 25 mm).
z = [0.05 0.15 0.25 0.35 0.42 0.46 0.475 0.525 0.54 0.58 0.65 0.75 0.85 0.95];
D = zeros(size(z));
L = zeros(size(z));
profiles = {};
show = [0.35 0.475 0.525 0.75];
for k = 1:numel(z)
  G = KVFocus(f, z(k), F);
  [~, ~, D(k)] = KVBeamWidth(G);
  h = KVHeader(G);
  L(k) = h.size;
  if any(abs(z(k) - show) < 1e-9)
    I = KVIntensity(1, G);
    [x, ~] = KVCoordinates(G);
    profiles{end + 1} = {x(N / 2 + 1, :), I(N / 2 + 1, :), z(k)};
  end
end

% The Gaussian beam: q = i*pi*W^2/lambda at the lens, then the lens and z.
zz = linspace(0.02, 0.98, 400);
q = 1 ./ (1 / (1i * pi * W^2 / lambda) - 1 / f) + zz;
Dth = 2 * sqrt(-lambda ./ (pi * imag(1 ./ q)));
qk = 1 ./ (1 / (1i * pi * W^2 / lambda) - 1 / f) + z;
Dk = 2 * sqrt(-lambda ./ (pi * imag(1 ./ qk)));

[fig, pos] = demo_figure(1, 2, [440 340], 'heading', ...
                         sprintf('A Gaussian beam (W = %g mm) through f = %g m, on grids that follow it', ...
                                 W * 1e3, f));
ax = axes('units', 'pixels', 'position', pos{1});
semilogy(ax, zz, Dth * 1e3, 'k-', z, D * 1e3, 'o', 'markersize', 7, zz, side * abs(f - zz) / f * 1e3, 'b--');
grid(ax, 'on');
xlabel(ax, 'z (m)');
ylabel(ax, 'mm');
title(ax, 'D4\sigma diameter and grid side');
legend(ax, {'Gaussian beam (ABCD)', 'KVBeamWidth of KVFocus', 'side of the grid'}, 'location', 'south');
ax = axes('units', 'pixels', 'position', pos{2});
hold(ax, 'on');
u = linspace(-2.5, 2.5, 200);
plot(ax, u, exp(-2 * u.^2), 'k-', 'linewidth', 2);
styles = {'o', 's', 'd', '^'};
names = {'Gaussian'};
for k = 1:numel(profiles)
  p = profiles{k};
  r = interp1(zz, Dth, p{3}) / 2;
  keep = mod(0:N-1, 2) == k - 1 - 2 * floor((k - 1) / 2);  % every other sample, staggered
  plot(ax, p{1}(keep) / r, p{2}(keep), styles{k}, 'markersize', 5);
  names{end + 1} = sprintf('z = %.3f m (grid %.2f mm)', p{3}, side * abs(f - p{3}) / f * 1e3);
end
hold(ax, 'off');
xlim(ax, [-2.5 2.5]);
ylim(ax, [0 1.45]);
grid(ax, 'on');
xlabel(ax, 'x / beam radius');
ylabel(ax, 'intensity / peak');
title(ax, 'profiles on their own grids');
legend(ax, names, 'location', 'north');
printf('  converging_beam.png: D4sigma within %.1e of the Gaussian-beam law at %d planes\n', ...
       max(abs(D ./ Dk - 1)), numel(z));
demo_save(fig, 'converging_beam', ...
          ['A Gaussian beam of 2 mm radius through a lens of f = 0.5 m, followed through its focus ' ...
           'by KVFocus: every plane is computed on a grid of side size*|f - z|/f (dashed), so that ' ...
           'the 256 samples hold the beam as it shrinks to its 85 um waist and grows again. Left: ' ...
           'the D4sigma diameter (KVBeamWidth) against the Gaussian-beam law. Right: the profiles ' ...
           'at four planes, each on its own grid, in units of the beam radius, against exp(-2u^2); ' ...
           'past the focus the grid is inverted, as the image is.']);

% The point spread function of a telescope with a central obstruction and
% four spider vanes, on a logarithmic scale, and its encircled energy.
% Writes build/demo/telescope_psf.png.
lambda = 550e-9;
N = 512;
D = 1;                  % primary mirror: 1 m
f = 10;                 % f/10
L = 2 * D;
F = KVBegin(L, lambda, N);
F = KVCircAperture(D / 2, 0, 0, F);
F = KVCircScreen(0.15, 0, 0, F);                    % 30 % obstruction
F = KVRectScreen(L, 0.01, 0, 0, 0, F);              % vanes of 1 cm
F = KVRectScreen(0.01, L, 0, 0, 0, F);

r1 = 1.22 * lambda * f / D;             % first dark ring of the full pupil
M = 256;
W = 40 * r1;
G = KVFraunhofer(f, W, M, F);
I = KVIntensity(0, G);
P = KVPower(F);
[x, y] = KVCoordinates(G);
r = sqrt(x.^2 + y.^2);
[rs, order] = sort(r(:));
ee = cumsum(I(order)) * (W / M)^2 / P;
% The unobstructed pupil for comparison: 1 - J0(v)^2 - J1(v)^2.
v = pi * D * rs / (lambda * f);
ee0 = 1 - besselj(0, v).^2 - besselj(1, v).^2;
printf('  energy inside the first dark ring: %.3f (full pupil 0.838)\n', ...
       sum(I(r < r1)) * (W / M)^2 / P);

[fig, pos] = demo_figure(1, 2, 300, 'bar', [true false], 'heading', ...
                         'A 1 m f/10 telescope at 550 nm, 30 % obstruction and four vanes');
demo_image(pos{1}, x(1, :), x(1, :), log10(max(I / max(I(:)), 1e-6)), 'unit', 'µm', ...
           'clim', [-6 0], 'title', 'PSF (KVFraunhofer)', 'bar', 'log_{10}(intensity / peak)');
ax = axes('units', 'pixels', 'position', pos{2});
plot(ax, 1e6 * rs, ee, 'b-', 1e6 * rs, ee0, 'k--', 1e6 * [r1 r1], [0 1], 'k:');
axis(ax, [0 1e6 * W / 2 0 1]);
grid(ax, 'on');
xlabel(ax, 'radius (µm)');
ylabel(ax, 'encircled energy');
legend(ax, 'this pupil', 'full pupil', '1.22 λ f / D', 'location', 'southeast');
title(ax, 'encircled energy');
demo_save(fig, 'telescope_psf', ...
          ['The PSF of a 1 m telescope at f/10 with a central obstruction of 30 % and four ' ...
           'spider vanes of 1 cm, from a 512 grid by KVFraunhofer onto 40 Airy radii, on a ' ...
           'logarithmic scale: the vanes throw the light into spikes. Right: the fraction of ' ...
           'the power inside a radius, against that of the full pupil.']);

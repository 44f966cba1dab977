% M^2 from one plane of the field (KVBeamQuality) beside the ISO 11146 way:
% D4sigma diameters (KVBeamWidth) in 13 planes through the waist, propagated
% with KVFresnelFFT, and a hyperbola d^2 = a + b*z + c*z^2 fitted to them,
% M^2 = pi/(8*lambda)*sqrt(4*a*c - b^2). Left: the caustic of a Gaussian
% beam clipped by a super-Gaussian aperture and made to diverge by a weak
% lens. Every plane lies within N*d^2/lambda (1 m here), where KVFresnelFFT
% uses its exact transfer function.
% Right: M^2 of the Gauss-Hermite modes TEM(0,m), both ways, against 2m + 1.
% Writes build/demo/beam_quality.png.

side = 16e-3;      % grid side, m
lambda = 1e-6;     % wavelength, m
N = 256;
w = 0.5e-3;        % waist of the Gaussian (amplitude radius), m
F = KVBegin(side, lambda, N);

% The ISO fit over planes z: M^2, waist diameter and position per axis.
function [M2, d0, z0, d] = caustic_fit(G, z, lambda)
  d = zeros(numel(z), 2);
  for k = 1:numel(z)
    [~, ~, d(k, 1), d(k, 2)] = KVBeamWidth(KVFresnelFFT(z(k), G));
  end
  A = [ones(numel(z), 1), z(:), z(:).^2];
  for a = 1:2
    p = A \ d(:, a).^2;
    M2(a) = pi / (8 * lambda) * sqrt(4 * p(1) * p(3) - p(2)^2);
    z0(a) = -p(2) / (2 * p(3));
    d0(a) = sqrt(p(1) - p(2)^2 / (4 * p(3)));
  end
end

% A clipped Gaussian: a super-Gaussian aperture of order 4 at 0.9 w.
G = KVSuperGaussAperture(0.9 * w, 4, 0, 0, 1, KVGaussHermite(0, 0, 1, w, F));
G = KVLens(-2, 0, 0, G);
[M2x, M2y, w0x, w0y, z0x] = KVBeamQuality(G);
zr = pi * w0x^2 / (lambda * M2x);          % Rayleigh length of the embedded beam
z = z0x + linspace(-2.5, 2.5, 13) * zr;
[M2fit, d0fit, z0fit, d] = caustic_fit(G, z, lambda);
printf('  clipped Gaussian: KVBeamQuality M2 = %.6f, %.6f; ISO fit %.6f, %.6f (%.1e)\n', ...
       M2x, M2y, M2fit, M2fit(1) / M2x - 1);
printf('  waist %.4f mm at z = %.4f m; fit %.4f mm at %.4f m\n', w0x * 1e3, z0x, ...
       d0fit(1) / 2 * 1e3, z0fit(1));

% Gauss-Hermite modes: M^2 = 2m + 1 along x.
m = 0:5;
M2hg = zeros(size(m));
M2hgfit = zeros(size(m));
for k = 1:numel(m)
  H = KVGaussHermite(0, m(k), 1, w, F);
  M2hg(k) = KVBeamQuality(H);
  zrk = pi * w^2 / lambda;   % the same for every mode
  fit = caustic_fit(H, linspace(-1.2, 1.2, 11) * zrk, lambda);
  M2hgfit(k) = fit(1);
end
printf('  TEM(0,m), m = 0..5: max |M2 - (2m+1)| = %.1e (KVBeamQuality), %.1e (ISO fit)\n', ...
       max(abs(M2hg - (2 * m + 1))), max(abs(M2hgfit - (2 * m + 1))));

[fig, pos] = demo_figure(1, 2, [420 330]);
ax = axes('units', 'pixels', 'position', pos{1});
zz = linspace(z(1), z(end), 200);
dth = 2 * w0x * sqrt(1 + ((zz - z0x) / zr).^2);   % the hyperbola of KVBeamQuality
plot(ax, (zz - z0x) / zr, dth * 1e3, 'k-', 'linewidth', 2, (z - z0x) / zr, d(:, 1) * 1e3, 'o', ...
     'markersize', 7, (z - z0x) / zr, d(:, 2) * 1e3, 'x', 'markersize', 7);
grid(ax, 'on');
xlabel(ax, '(z - z_0)/z_R');
ylabel(ax, 'D4\sigma diameter (mm)');
title(ax, sprintf('clipped Gaussian: M^2 = %.3f (one plane), %.3f (fit)', M2x, M2fit(1)));
legend(ax, {'from KVBeamQuality', 'KVBeamWidth d_x', 'KVBeamWidth d_y'}, 'location', 'north');
ax = axes('units', 'pixels', 'position', pos{2});
plot(ax, m, 2 * m + 1, 'k-', m, M2hg, 'o', 'markersize', 8, m, M2hgfit, 'x', 'markersize', 8);
grid(ax, 'on');
xlabel(ax, 'mode order m of TEM(0,m)');
ylabel(ax, 'M^2 along x');
title(ax, 'Gauss-Hermite modes');
legend(ax, {'2m + 1', 'KVBeamQuality', 'ISO caustic fit'}, 'location', 'northwest');
demo_save(fig, 'beam_quality', ...
          sprintf(['Left: the D4σ diameters (KVBeamWidth) of a Gaussian beam clipped by a ' ...
                   'super-Gaussian aperture, in 13 planes through its waist (KVFresnelFFT), ' ...
                   'and the hyperbola that KVBeamQuality gives from the field in one plane: ' ...
                   'M² = %.4f against %.4f from the ISO fit. Right: M² of the Gauss-Hermite ' ...
                   'modes TEM(0,m) from one plane and from the fit, against 2m + 1.'], ...
                  M2x, M2fit(1)));

% A wave front made of several Zernike terms over a circular pupil: the
% phase of the field (wrapped, grey outside the pupil) next to the point
% spread function, the far-field intensity of the pupil, on a logarithmic
% scale; and a row of the single terms used.
% Writes build/demo/zernike_wavefront.png and zernike_wavefront_terms.png.

side = 10e-3;
lambda = 633e-9;
N = 256;
R = 2.5e-3;          % pupil radius; the terms reach their amplitude there

% n, m, amplitude in radians
terms = [2  0  1.5     % defocus
         2 -2  2.0     % astigmatism
         3  1  1.2     % coma
         4  0  0.8];   % spherical aberration

F = KVBegin(side, lambda, N);
pupil = KVCircAperture(R, 0, 0, F);
W = pupil;
singles = cell(1, size(terms, 1));
for t = 1:size(terms, 1)
  W = KVZernike(terms(t, 1), terms(t, 2), R, terms(t, 3), W);
  singles{t} = KVZernike(terms(t, 1), terms(t, 2), R, terms(t, 3), pupil);
end

inside = KVIntensity(0, pupil) > 0;
outside = zeros(N);
outside(! inside) = NaN;
blank = @(P) P + outside;            % NaN outside the pupil: drawn grey

% Point spread function: far field of the pupil, peak 1; the pupil is
% padded four times over to sample the spot finely. Frequency k of the
% padded transform is the angle k*lambda/(4*N*d), d the grid spacing.
E = W(:, 1:N);
psf = abs(fftshift(fft2(E, 4 * N, 4 * N))).^2;
psf = psf(1.5 * N + (1:N), 1.5 * N + (1:N));
psf = psf / max(psf(:));
d = side / N;
theta = ((0:N-1) - N / 2) * lambda / (4 * N * d);
% Sample F(r, c) lies at x = (c - 1 - N/2)*side/N, y likewise with r.
x = ((0:N-1) - N / 2) * d;
names = {'defocus', 'astigmatism', 'coma', 'spherical'};
phase_ticks = {[-pi 0 pi], {'-π', '0', 'π'}};

[fig, pos] = demo_figure(1, 2, 280, 'bar', 'each', 'heading', ...
                         'Four Zernike terms on a pupil of radius 2.5 mm (λ = 633 nm)');
demo_image(pos{1}, x, x, blank(KVPhase(W)), 'clim', [-pi pi], 'map', hsv(256), ...
           'title', 'phase of the field (wrapped)', 'bar', 'phase (rad)', 'barticks', phase_ticks);
demo_image(pos{2}, theta, theta, log10(max(psf, 1e-5)), 'unit', 'mrad', 'xlabel', 'θ_x', ...
           'ylabel', 'θ_y', 'clim', [-5 0], 'title', 'point spread function (far field)', ...
           'bar', 'log_{10}(intensity / peak)');
demo_save(fig, 'zernike_wavefront', ...
          ['Left: the phase of a plane wave after a circular pupil of radius 2.5 mm and the ' ...
           'Zernike terms defocus (2,0) 1.5 rad, astigmatism (2,-2) 2 rad, coma (3,1) 1.2 rad and ' ...
           'spherical aberration (4,0) 0.8 rad, wrapped into (−π, π]. Right: the far-field ' ...
           'intensity of that pupil against the angle, on a logarithmic scale.']);

[fig, pos] = demo_figure(1, numel(singles), 170, 'bar', 'last', 'shared', true, 'heading', ...
                         'The single Zernike terms, amplitude at the pupil edge R = 2.5 mm');
for t = 1:numel(singles)
  bar = '';
  if t == numel(singles)
    bar = 'phase (rad)';
  end
  ax = demo_image(pos{t}, x, x, blank(KVPhase(singles{t})), 'clim', [-pi pi], 'map', hsv(256), ...
                  'yticks', t == 1, 'bar', bar, 'barticks', phase_ticks, ...
                  'title', sprintf('%s, %.1f rad', names{t}, terms(t, 3)));
  set(ax, 'xlim', 1e3 * [-R R] * 1.1, 'ylim', 1e3 * [-R R] * 1.1);
end
demo_save(fig, 'zernike_wavefront_terms', ...
          ['The phase of each Zernike term alone (KVZernike on the same pupil): defocus (2,0), ' ...
           'astigmatism (2,-2), coma (3,1) and spherical aberration (4,0), each reaching its ' ...
           'amplitude at the pupil edge.']);
printf('  %d Zernike terms over a pupil of radius %.1f mm\n', size(terms, 1), R * 1e3);

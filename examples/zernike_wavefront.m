% A wave front made of several Zernike terms over a circular pupil: the
% phase of the field (wrapped, grey outside the pupil) next to the point
% spread function, the far-field intensity of the pupil, on a logarithmic
% scale. A row of the single terms used stands beneath.
% Writes build/demo/zernike_wavefront.png and zernike_terms.png.

outdir = demo_dir();

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
shade = @(P) inside .* (P + pi) / (2 * pi) + ~inside * 0.5;

% Point spread function: far field of the pupil, peak 1, 5 decades; the
% pupil is padded four times over to sample the spot finely.
E = W(:, 1:N);
psf = abs(fftshift(fft2(E, 4 * N, 4 * N))).^2;
psf = psf(1.5 * N + (1:N), 1.5 * N + (1:N));
psf = psf / max(psf(:));
psf = max(0, 1 + log10(max(psf, 1e-5)) / 5);

gap = 6;
picture = ones(N + 2 * gap, 2 * N + 3 * gap);
picture(gap + (1:N), gap + (1:N)) = shade(KVPhase(W));
picture(gap + (1:N), 2 * gap + N + (1:N)) = psf;
imwrite(picture, fullfile(outdir, 'zernike_wavefront.png'));

strip = ones(N + 2 * gap, numel(singles) * (N + gap) + gap);
for t = 1:numel(singles)
  strip(gap + (1:N), gap + (t - 1) * (N + gap) + (1:N)) = shade(KVPhase(singles{t}));
end
imwrite(strip, fullfile(outdir, 'zernike_terms.png'));
printf('  %d Zernike terms over a pupil of radius %.1f mm\n', size(terms, 1), R * 1e3);

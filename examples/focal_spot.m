% The focal spot of a fast lens (f/2): KVFraunhofer puts 20 samples across
% the Airy disc from a 512 grid, where the FFT of the same samples gives
% its fixed spacing lambda*f/size, a few samples across. Writes
% build/demo/focal_spot.png.
lambda = 633e-9;
N = 512;
D = 10e-3;              % lens diameter
f = 20e-3;              % f/2
L = 2 * D;              % grid side: the pupil fills half of it
F = KVCircAperture(D / 2, 0, 0, KVBegin(L, lambda, N));

airy = 2.44 * lambda * f / D;           % Airy disc diameter: 3.1 um
W = 3 * airy;                           % 20 samples across the disc
G = KVFraunhofer(f, W, 60, F);
% The FFT's grid: NewSize = lambda*f*N/size, N samples (KVFraunhofer gives
% the FFT there, to rounding); its central part covers the same window.
H = KVFraunhofer(f, lambda * f * N / L, N, F);
dfft = lambda * f / L;
k = round(W / 2 / dfft);
Hc = H(N / 2 + 1 + (-k:k), N / 2 + 1 + (-k:k));

I = abs(G(:, 1:60)).^2; I = I / max(I(:));
J = abs(Hc).^2; J = J / max(J(:));
x = ((0:59) - 30) * W / 60;
xf = (-k:k) * dfft;
printf('  Airy disc %.2f um: %.1f samples across with KVFraunhofer, %.1f with the FFT\n', ...
       1e6 * airy, airy / (W / 60), airy / dfft);

[fig, pos] = demo_figure(1, 2, 300, 'bar', [false true], 'heading', ...
                         'Focal spot of an f/2 lens (D = 10 mm, λ = 633 nm), from a 512 grid');
demo_image(pos{1}, xf, xf, J, 'unit', 'µm', 'clim', [0 1], 'title', 'FFT of the samples');
ax = demo_image(pos{2}, x, x, I, 'unit', 'µm', 'clim', [0 1], 'title', 'KVFraunhofer, 60 x 60', ...
                'bar', 'intensity / peak');
t = linspace(0, 2 * pi, 200);
hold(ax, 'on');
plot(ax, 1e6 * airy / 2 * cos(t), 1e6 * airy / 2 * sin(t), 'c--', 'linewidth', 1);
hold(ax, 'off');
demo_save(fig, 'focal_spot', ...
          sprintf(['The focal spot of an f/2 lens of diameter 10 mm, from a 512 x 512 grid of ' ...
                   'side 20 mm. Left: the FFT of the samples, spacing λf/size = %.2f µm, %.1f ' ...
                   'samples across the Airy disc. Right: KVFraunhofer onto a 9.3 µm grid of 60 ' ...
                   'samples, 20 across the disc; dashed, the first dark ring at 1.22 λf/D. ' ...
                   'The lens phase, 40 rad per sample at the rim, is never sampled.'], ...
                  1e6 * dfft, airy / dfft));

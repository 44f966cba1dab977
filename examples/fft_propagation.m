% FFT propagation, two ways.
% 1. A Gaussian beam through a Keplerian telescope (f1 = 0.2 m, f2 = 0.3 m,
%    lenses 0.5 m apart), propagated with KVFresnelFFT in 1 cm steps: a side
%    view of the beam (x across, z up), which focuses between the lenses
%    and leaves 1.5 times wider. The 50 steps to the second lens agree with
%    one step of 0.5 m taken on a grid padded to 2N. On the unpadded grid
%    0.5 m lies beyond the switch distance, and the impulse response, cut
%    off at half the grid, disturbs the grid's edge.
% 2. A steep (NA 0.6) focus of an ideal aspheric lens: the angular spectrum
%    brings the light to a point at the focal distance; the Fresnel
%    (paraxial) propagator gets the steep rays' phase wrong and spreads the
%    focus along z, beyond the focal plane.
% Writes build/demo/fft_propagation_telescope.png and
% build/demo/fft_propagation_high_na.png.

% --- 1. The telescope ------------------------------------------------------
lambda = 1e-6;
N = 512;
L = 12e-3;                 % grid side: spacing 23.4 um
w0 = 1e-3;
f1 = 0.2;
f2 = 0.3;
dz = 0.01;
F = KVGaussAperture(w0 / sqrt(2), 0, 0, 1, KVBegin(L, lambda, N));  % field waist w0
F = KVLens(f1, 0, 0, F);
zc = N * (L / N)^2 / lambda;
printf('  telescope: switch distance %.3f m, steps of %.2f m\n', zc, dz);

steps1 = round((f1 + f2) / dz);
steps2 = 20;
side = zeros(steps1 + steps2 + 1, N);
side(1, :) = KVIntensity(0, F)(N / 2 + 1, :);
G = F;
for s = 1:steps1
  G = KVFresnelFFT(dz, G);
  side(s + 1, :) = KVIntensity(0, G)(N / 2 + 1, :);
end
one = KVPad(N, KVFresnelFFT(f1 + f2, KVPad(2 * N, F)));
bare = KVFresnelFFT(f1 + f2, F);
top = max(max(abs(G(1:N, 1:N))));
printf('  50 steps against one step of 0.5 m: largest difference %.1e (padded to 2N), %.1e (not padded) of the peak\n', ...
       max(max(abs(G(1:N, 1:N) - one(1:N, 1:N)))) / top, ...
       max(max(abs(G(1:N, 1:N) - bare(1:N, 1:N)))) / top);
G = KVLens(f2, 0, 0, G);
for s = 1:steps2
  G = KVFresnelFFT(dz, G);
  side(steps1 + s + 1, :) = KVIntensity(0, G)(N / 2 + 1, :);
end
x = ((0:N-1) - N / 2) * L / N;
I = KVIntensity(0, G)(N / 2 + 1, :);
w_out = 2 * sqrt(sum(x.^2 .* I) / sum(I));
printf('  beam radius after the telescope %.2f mm (expected %.2f mm)\n', 1e3 * w_out, ...
       1e3 * w0 * f2 / f1);
% Each row scaled to its own peak, so the focus does not swamp the rest.
side = side ./ max(side, [], 2);
zaxis = (0:rows(side) - 1) * dz;
[fig, pos] = demo_figure(1, 1, [460 420], 'bar', 'each', 'heading', ...
                         'Keplerian telescope, f_1 = 0.2 m and f_2 = 0.3 m, 0.5 m apart');
ax = demo_image(pos{1}, x, zaxis, side, 'yunit', 'm', 'ylabel', 'z', 'clim', [0 1], ...
                'title', 'KVFresnelFFT in steps of 1 cm', 'bar', 'intensity / its peak at that z');
% The lens planes and the common focus.
hold(ax, 'on');
marks = {0, 'lens f_1 = 0.2 m'; f1, 'common focus'; f1 + f2, 'lens f_2 = 0.3 m'};
for k = 1:rows(marks)
  plot(ax, 1e3 * [x(1) x(end)], [1 1] * marks{k, 1}, 'c--', 'linewidth', 1);
  text(ax, 1e3 * x(end) - 0.2, marks{k, 1} + 0.012, marks{k, 2}, 'color', 'c', ...
       'horizontalalignment', 'right', 'verticalalignment', 'bottom');
end
hold(ax, 'off');
demo_save(fig, 'fft_propagation_telescope', ...
          ['Side view of a Gaussian beam (waist 1 mm, λ = 1 µm) through a Keplerian telescope: ' ...
           'the intensity along x through the axis, against the distance z from the first lens ' ...
           '(z grows upward). The beam focuses 0.2 m behind the first lens and leaves the second, ' ...
           '0.5 m on, 1.5 times wider.']);

% --- 2. A steep focus --------------------------------------------------
lambda = 0.5e-6;
N = 512;
d = lambda / 4;
L = N * d;                 % 64 um
a = 15e-6;                 % aperture radius
f = 20e-6;                 % focal length: NA = a/sqrt(a^2 + f^2) = 0.6
x = ((0:N-1) - N / 2) * d;
[X, Y] = meshgrid(x, x);
% An ideal lens: every ray reaches the focus with the same phase.
phase = -2 * pi / lambda * (sqrt(X.^2 + Y.^2 + f^2) - f);
F = KVCircAperture(a, 0, 0, KVBegin(L, lambda, N));
F = KVMultPhase(phase, F);
zs = (10:0.25:26) * 1e-6;
cut = N / 2 + 1 + (-64:64);               % +-8 um across the axis
views = zeros(numel(zs), numel(cut), 2);
peaks = zeros(numel(zs), 2);
for k = 1:numel(zs)
  A = KVIntensity(0, KVAngularSpectrum(zs(k), F));
  P = KVIntensity(0, KVFresnelFFT(zs(k), F));
  views(k, :, 1) = A(N / 2 + 1, cut);
  views(k, :, 2) = P(N / 2 + 1, cut);
  peaks(k, :) = [A(N / 2 + 1, N / 2 + 1), P(N / 2 + 1, N / 2 + 1)];
end
[~, ka] = max(peaks(:, 1));
[~, kp] = max(peaks(:, 2));
printf('  NA 0.6: brightest axial point at %.2f um (angular spectrum), %.2f um (Fresnel); f = %.0f um\n', ...
       1e6 * zs(ka), 1e6 * zs(kp), 1e6 * f);
printf('  peak intensity, Fresnel / angular spectrum: %.2f\n', max(peaks(:, 2)) / max(peaks(:, 1)));
% Left: angular spectrum, right: Fresnel, on one scale; x across, z up.
top = max(views(:));
[fig, pos] = demo_figure(1, 2, 300, 'bar', 'last', ...
                         'heading', 'Focus of an ideal lens of NA 0.6 (f = 20 µm, λ = 0.5 µm)');
names = {'KVAngularSpectrum', 'KVFresnelFFT'};
kfocus = [ka, kp];
for p = 1:2
  bar = '';
  if p == 2
    bar = 'field amplitude |E| / largest |E|';
  end
  ax = demo_image(pos{p}, x(cut), zs, sqrt(views(:, :, p) / top), 'unit', 'µm', 'ylabel', ...
                  'z behind the lens', 'clim', [0 1], 'bar', bar, ...
                  'title', sprintf('%s: peak at z = %.1f µm', names{p}, 1e6 * zs(kfocus(p))));
  hold(ax, 'on');
  plot(ax, 1e6 * x(cut([1 end])), 1e6 * [f f], 'c--', 'linewidth', 1);
  text(ax, 1e6 * x(cut(end)) - 0.3, 1e6 * f + 0.2, 'focal plane z = f', 'color', 'c', ...
       'horizontalalignment', 'right', 'verticalalignment', 'bottom');
  hold(ax, 'off');
end
demo_save(fig, 'fft_propagation_high_na', ...
          ['Side view of the steep focus: the field amplitude in the plane y = 0 against the distance z ' ...
           'from the lens (z grows upward), both panels on one scale. The exact angular spectrum ' ...
           'brings the light to a point in the focal plane (dashed); the paraxial Fresnel propagator ' ...
           'gets the steep rays wrong and spreads the focus along z, past the focal plane.']);

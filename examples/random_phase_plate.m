% A random phase plate in front of a focusing lens. A Gaussian beam passes
% a plate that adds an independent random phase to every sample, of width
% 0, 1, 2 and 4 radians (left to right), and is focused by a lens; the
% focal plane shows the far field. The growing phase disorder takes power
% from the focal spot into a wide speckle halo: the peak falls to about
% (sin(w/2)/(w/2))^2 of the undisturbed one, w the width of the interval.
% Top row: the phase after the plate. Bottom row: the focal intensity, on
% a logarithmic scale of 4 decades below the peak of the undisturbed beam.
% Writes build/demo/random_phase_plate.png.

size_ = 8e-3;       % grid side, m
lambda = 633e-9;    % wavelength, m
N = 128;            % samples per side
w0 = 1.5e-3;        % beam waist, m
f = 0.5;            % focal length, m
focal_size = 4e-3;  % side of the grid in the focal plane, m
seed = 2024;
widths = [0 1 2 4]; % widths of the interval of random phases, rad

F = KVBegin(size_, lambda, N);
F = KVGaussHermite(0, 0, 1, w0, F);

phases = cell(size(widths));
spots = cell(size(widths));
for k = 1:numel(widths)
  P = KVRandomPhase(seed, widths(k), F);
  phases{k} = KVPhase(P);
  G = KVForward(f, focal_size, N, KVLens(f, 0, 0, P));
  spots{k} = KVIntensity(0, G);
end
peak = max(spots{1}(:));

% Sample F(r, c) lies at x = (c - 1 - N/2)*size/N; KVForward's samples
% lie focal_size/(N - 1) apart, the centre one at N/2 + 1.
x = ((0:N-1) - N / 2) * size_ / N;
xf = ((0:N-1) - N / 2) * focal_size / (N - 1);
[fig, pos] = demo_figure(2, numel(widths), 150, 'bar', 'last', 'shared', 'y', 'heading', ...
                         'Random phase plate before a lens of f = 0.5 m (Gaussian beam, waist 1.5 mm)');
for k = 1:numel(widths)
  w = widths(k);
  expected = 1;
  if w ~= 0
    expected = (sin(w / 2) / (w / 2))^2;
  end
  printf('  phase width %d rad: focal peak %.3f of the undisturbed one (about %.3f)\n', ...
         w, max(spots{k}(:)) / peak, expected);
  % One colour bar a row, right of the last column.
  bars = {'', ''};
  if k == numel(widths)
    bars = {'phase (rad)', 'log_{10}(I / undisturbed peak)'};
  end
  demo_image(pos{1, k}, x, x, phases{k}, 'clim', [-pi pi], 'map', hsv(256), 'yticks', k == 1, ...
             'ylabel', 'y at the plate', 'title', sprintf('width %d rad', w), 'bar', bars{1}, ...
             'barticks', {[-pi 0 pi], {'-π', '0', 'π'}});
  demo_image(pos{2, k}, xf, xf, log10(max(spots{k} / peak, 1e-4)), 'clim', [-4 0], ...
             'yticks', k == 1, 'ylabel', 'y in the focal plane', ...
             'title', sprintf('focal peak %.2f', max(spots{k}(:)) / peak), 'bar', bars{2});
end
demo_save(fig, 'random_phase_plate', ...
          ['Top: the phase after KVRandomPhase, independent in every sample and uniform over ' ...
           'an interval of width 0, 1, 2 and 4 rad. Bottom: the intensity in the focal plane ' ...
           '(KVForward over 0.5 m), on a logarithmic scale relative to the peak without the plate: ' ...
           'the peak falls to about (sin(w/2)/(w/2))² and the lost power spreads into a wide ' ...
           'speckle halo.']);

% A random phase plate in front of a focusing lens. A Gaussian beam passes
% a plate that adds an independent random phase to every sample, of width
% 0, 1, 2 and 4 radians (left to right), and is focused by a lens; the
% focal plane shows the far field. The growing phase disorder takes power
% from the focal spot into a wide speckle halo: the peak falls to about
% (sin(w/2)/(w/2))^2 of the undisturbed one, w the width of the interval.
% Top row: the phase after the plate. Bottom row: the focal intensity, on
% a logarithmic scale of 4 decades below the peak of the undisturbed beam.
% Writes build/demo/random_phase_plate.png.

outdir = demo_dir();

size_ = 8e-3;       % grid side, m
lambda = 633e-9;    % wavelength, m
N = 128;            % samples per side
w0 = 1.5e-3;        % beam waist, m
f = 0.5;            % focal length, m
focal_size = 4e-3;  % side of the grid in the focal plane, m
seed = 2024;
widths = [0 1 2 4]; % widths of the interval of random phases, rad
gap = 4;

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

side = numel(widths) * (N + gap) - gap;
picture = zeros(2 * N + gap, side);
for k = 1:numel(widths)
  c = (k - 1) * (N + gap) + (1:N);
  % Phase from -pi to pi onto 0..1.
  picture(1:N, c) = (phases{k} + pi) / (2 * pi);
  % Intensity relative to the undisturbed peak, 4 decades onto 0..1.
  level = log10(max(spots{k} / peak, 1e-4));
  picture(N + gap + (1:N), c) = 1 + level / 4;
  w = widths(k);
  expected = 1;
  if w ~= 0
    expected = (sin(w / 2) / (w / 2))^2;
  end
  printf('  phase width %d rad: focal peak %.3f of the undisturbed one (about %.3f)\n', ...
         w, max(spots{k}(:)) / peak, expected);
end

idx = 1 + round(255 * min(max(picture, 0), 1));
imwrite(ind2rgb(idx, hot(256)), fullfile(outdir, 'random_phase_plate.png'));

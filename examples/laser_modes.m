% A gallery of Gauss-Hermite laser modes TEM(n,m), n = 0..3 down the rows
% of the gallery and m = 0..3 across, each as its intensity normalised to a
% peak of 1. n counts the nodal lines along y, m those along x.
% Writes build/demo/laser_modes.png.

outdir = demo_dir();

size_ = 6e-3;       % grid side, m
lambda = 1064e-9;   % wavelength, m
N = 128;            % samples per side
w0 = 1e-3;          % waist (amplitude radius), m
orders = 0:3;
gap = 4;            % pixels between panels

F = KVBegin(size_, lambda, N);
side = numel(orders) * (N + gap) - gap;
gallery = zeros(side);
for a = 1:numel(orders)
  for b = 1:numel(orders)
    n = orders(a);
    m = orders(b);
    I = KVIntensity(1, KVGaussHermite(n, m, 1, w0, F));
    % Each mode has n + 1 lobes along y and m + 1 along x.
    r = (a - 1) * (N + gap) + (1:N);
    c = (b - 1) * (N + gap) + (1:N);
    gallery(r, c) = I;
  end
end

% Through the colour map 'hot', 256 levels.
idx = 1 + round(255 * gallery);
imwrite(ind2rgb(idx, hot(256)), fullfile(outdir, 'laser_modes.png'));
printf('  laser_modes.png: TEM(n,m) for n, m = %d..%d (n down, m across)\n', ...
       orders(1), orders(end));

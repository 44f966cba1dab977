% A gallery of Gauss-Hermite laser modes TEM(n,m), n = 0..3 down the rows
% of the gallery and m = 0..3 across, each as its intensity normalised to a
% peak of 1. n counts the nodal lines along y, m those along x.
% Writes build/demo/laser_modes.png.

size_ = 6e-3;       % grid side, m
lambda = 1064e-9;   % wavelength, m
N = 128;            % samples per side
w0 = 1e-3;          % waist (amplitude radius), m
orders = 0:3;

F = KVBegin(size_, lambda, N);
% Sample F(r, c) lies at x = (c - 1 - N/2)*size/N, y likewise with r.
x = ((0:N-1) - N / 2) * size_ / N;
n_ = numel(orders);
[fig, pos, barpos] = demo_figure(n_, n_, 150, 'bar', 'last', 'shared', true, 'heading', ...
                                 'Gauss-Hermite modes TEM_{nm}, waist 1 mm (n down, m across)');
for a = 1:n_
  for b = 1:n_
    n = orders(a);
    m = orders(b);
    % Each mode has n + 1 lobes along y and m + 1 along x.
    I = KVIntensity(1, KVGaussHermite(n, m, 1, w0, F));
    bar = '';
    if a == 1 && b == n_
      bar = 'intensity / peak of the mode';
    end
    ax = demo_image(pos{a, b}, x, x, I, 'clim', [0 1], 'title', sprintf('TEM_{%d%d}', n, m), ...
                    'xticks', a == n_, 'yticks', b == 1, 'bar', bar, 'barpos', barpos);
    set(ax, 'xtick', -2:2, 'ytick', -2:2);
  end
end
demo_save(fig, 'laser_modes', ...
          ['The intensity of the Gauss-Hermite modes TEM(n,m) of KVGaussHermite, waist 1 mm, on a ' ...
           '6 mm grid, each scaled to its peak: n counts the nodal lines along y (down the rows), ' ...
           'm those along x (across).']);
printf('  laser_modes.png: TEM(n,m) for n, m = %d..%d (n down, m across)\n', ...
       orders(1), orders(end));

% An L-shaped opening, resampled onto new grids: shifted, rotated and
% magnified by KVInterpol. One panel before and one per resampling, the
% outline of the opening before drawn over each.
% Writes build/demo/interpol_rotate.png.

size_ = 8e-3;           % grid side: 8 mm
lambda = 633e-9;
N = 200;

% The L: a bar along x over a bar along y (they do not overlap), with a
% hole near the end of the x bar so that a reflection would show.
F = KVBegin(size_, lambda, N);
A = KVRectAperture(3e-3, 0.8e-3, 0, -1.1e-3, 0, F);
B = KVRectAperture(0.8e-3, 2.2e-3, -1.1e-3, 0.45e-3, 0, F);
L = KVCircScreen(0.25e-3, 1e-3, -1.1e-3, KVBeamMix(A, B));

% KVInterpol spaces its samples by size/(N - 1): a shift of k*new_size/(N - 1)
% moves the pattern by exactly k samples of the new grid.
d = size_ / (N - 1);
views = {
  'before',     L,                                                'before'
  'shifted',    KVInterpol(size_, N, 40 * d, 20 * d, 0, 1, L),     'shifted by (40, 20) samples'
  'rotated',    KVInterpol(size_, N, 0, 0, 30, 1, L),              'rotated by 30°'
  'magnified',  KVInterpol(size_, N, 0, 0, 0, 1.8, L),             'magnified 1.8 times'
  'all_three',  KVInterpol(size_, N, -30 * d, 40 * d, -45, 0.7, L), 'shifted, rotated -45°, × 0.7'
};

% Drawn on the grid KVInterpol works on: sample (r, c) at
% x = (c - 1 - N/2)*d, y = (r - 1 - N/2)*d.
x = ((0:N-1) - N / 2) * d;
[fig, pos, barpos] = demo_figure(2, 3, 220, 'bar', 'last', 'shared', true, 'heading', ...
                                 'KVInterpol: an L-shaped opening resampled (8 mm grid, 200 samples)');
outline = KVIntensity(0, L);
for k = 1:rows(views)
  G = views{k, 2};
  % magnification m divides amplitudes by m, so the power over the area
  % stays (up to the samples lost or gained at the edges of the opening)
  P = KVIntensity(0, G);
  printf('  %-10s peak %.3f  power %.4g\n', views{k, 1}, max(P(:)), sum(P(:)) * d^2);
  r = ceil(k / 3);
  c = mod(k - 1, 3) + 1;
  bar = '';
  if k == 3
    bar = 'intensity (the opening before = 1)';
  end
  ax = demo_image(pos{r, c}, x, x, P, 'clim', [0 2.1], 'title', views{k, 3}, ...
                  'xticks', r == 2 || c == 3, 'yticks', c == 1, 'bar', bar, 'barpos', barpos);
  if k > 1
    hold(ax, 'on');
    contour(ax, 1e3 * x, 1e3 * x, outline, [0.5 0.5], 'c');
    hold(ax, 'off');
  end
end
% The last cell explains the panels.
ax = axes('units', 'pixels', 'position', pos{2, 3}, 'visible', 'off', 'xlim', [0 1], 'ylim', [0 1]);
% (One text a line: the gnuplot toolkit cannot pass on a text of several.)
lines = {'cyan: the opening before', '', 'KVInterpol(size, N, x0, y0,', ...
         '    angle, magnification, F)', '', 'a magnification m divides', ...
         'the amplitude by m: the', 'power stays'};
for k = 1:numel(lines)
  text(ax, 0, 1 - k / (numel(lines) + 1), lines{k});
end
demo_save(fig, 'interpol_rotate', ...
          ['An L-shaped opening (two bars and a small round screen, so that a reflection would ' ...
           'show) resampled by KVInterpol onto grids shifted, rotated (counter-clockwise for a ' ...
           'positive angle), magnified, and all three at once; all on one intensity scale, ' ...
           'where magnifying 1.8 times dims the opening 1.8² times and shrinking it 0.7 times ' ...
           'brightens it.']);

% A gallery of the amplitude masks on a plane wave, as intensity pictures:
% top row the apertures (rotated rectangle, Gaussian, super-Gaussian of
% power 6, and a rectangle cut out of a Gaussian), bottom row the matching
% screens (rectangle, Gaussian with 10 % centre transmission,
% super-Gaussian, and two crossed rectangular bars).
% Writes build/demo/mask_gallery.png.

side = 10e-3;       % grid side: 10 mm
lambda = 633e-9;
N = 200;
F = KVBegin(side, lambda, N);

panels = {
  KVRectAperture(5e-3, 2.5e-3, 0, 0, 30, F),                                'rectangle at 30°'
  KVGaussAperture(2e-3, 0, 0, 1, F),                                        'Gaussian'
  KVSuperGaussAperture(3e-3, 6, 0, 0, 1, F),                                'super-Gaussian'
  KVRectScreen(2e-3, 2e-3, 1e-3, 1e-3, 45, KVGaussAperture(3e-3, 0, 0, 1, F)), 'Gaussian − square'
  KVRectScreen(5e-3, 2.5e-3, 0, 0, 30, F),                                  'rectangle screen'
  KVGaussScreen(2e-3, 0, 0, 0.1, F),                                        'Gaussian screen'
  KVSuperGaussScreen(3e-3, 6, 0, 0, 0, F),                                  'super-Gauss. screen'
  KVRectScreen(8e-3, 1e-3, 0, 0, 90, KVRectScreen(8e-3, 1e-3, 0, 0, 0, F)), 'crossed bars'
};

% Sample F(r, c) lies at x = (c - 1 - N/2)*side/N, y likewise with r.
x = ((0:N-1) - N / 2) * side / N;
[fig, pos, barpos] = demo_figure(2, 4, 160, 'bar', 'last', 'shared', true, 'heading', ...
                                 'Amplitude masks on a plane wave: apertures (top), screens (bottom)');
for k = 1:rows(panels)
  r = floor((k - 1) / 4) + 1;
  c = mod(k - 1, 4) + 1;
  bar = '';
  if k == 4
    bar = 'intensity transmission';
  end
  demo_image(pos{r, c}, x, x, KVIntensity(0, panels{k, 1}), 'clim', [0 1], 'map', gray(256), ...
             'title', panels{k, 2}, 'xticks', r == 2, 'yticks', c == 1, 'bar', bar, ...
             'barpos', barpos);
end
demo_save(fig, 'mask_gallery', ...
          ['The intensity transmission of the amplitude masks on a 10 mm grid. Top: ' ...
           'KVRectAperture 5 × 2.5 mm turned by 30°, KVGaussAperture of radius 2 mm, ' ...
           'KVSuperGaussAperture of radius 3 mm and power 6, and a square KVRectScreen on a ' ...
           'Gaussian beam. Bottom: the matching KVRectScreen, KVGaussScreen with 10 % ' ...
           'transmission at its centre, KVSuperGaussScreen, and two crossed KVRectScreen bars.']);
printf('  %d masks, transmitted power: %s\n', rows(panels), ...
        sprintf('%.2f ', cellfun(@(P) mean(mean(KVIntensity(0, P))), panels(:, 1))));

% A gallery of the amplitude masks on a plane wave, as intensity pictures:
% top row the apertures (rotated rectangle, Gaussian, super-Gaussian of
% power 6, and a rectangle cut out of a Gaussian), bottom row the matching
% screens (rectangle, Gaussian with 10 % centre transmission,
% super-Gaussian, and two crossed rectangular bars).
% Writes build/demo/mask_gallery.png.

outdir = demo_dir();

side = 10e-3;       % grid side: 10 mm
lambda = 633e-9;
N = 200;
F = KVBegin(side, lambda, N);

panels = {
  KVRectAperture(5e-3, 2.5e-3, 0, 0, 30, F)
  KVGaussAperture(2e-3, 0, 0, 1, F)
  KVSuperGaussAperture(3e-3, 6, 0, 0, 1, F)
  KVRectScreen(2e-3, 2e-3, 1e-3, 1e-3, 45, KVGaussAperture(3e-3, 0, 0, 1, F))
  KVRectScreen(5e-3, 2.5e-3, 0, 0, 30, F)
  KVGaussScreen(2e-3, 0, 0, 0.1, F)
  KVSuperGaussScreen(3e-3, 6, 0, 0, 0, F)
  KVRectScreen(8e-3, 1e-3, 0, 0, 90, KVRectScreen(8e-3, 1e-3, 0, 0, 0, F))
};

gap = 6;
nrow = 2;
ncol = 4;
picture = ones(nrow * N + (nrow + 1) * gap, ncol * N + (ncol + 1) * gap);
for k = 1:numel(panels)
  r = floor((k - 1) / ncol);
  c = mod(k - 1, ncol);
  top = gap + r * (N + gap);
  left = gap + c * (N + gap);
  picture(top + (1:N), left + (1:N)) = KVIntensity(0, panels{k});
end
imwrite(picture, fullfile(outdir, 'mask_gallery.png'));
printf('  %d masks, transmitted power: %s\n', numel(panels), ...
        sprintf('%.2f ', cellfun(@(P) mean(mean(KVIntensity(0, P))), panels)));

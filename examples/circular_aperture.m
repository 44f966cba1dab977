% A plane wave through a circular aperture and a displaced circular screen:
% the intensity and the phase of the masked field, as pictures.
outdir = demo_dir();

size_ = 10e-3;          % grid side: 10 mm
lambda = 633e-9;        % He-Ne wavelength
N = 256;

F = KVBegin(size_, lambda, N);
F = KVCircAperture(4e-3, 0, 0, F);          % hole of radius 4 mm on the axis
F = KVCircScreen(1.5e-3, 1.5e-3, -1e-3, F); % disc of radius 1.5 mm, off axis

I = KVIntensity(1, F);                      % peak scaled to 1
P = KVPhase(F);                             % radians; blocked samples read pi/2
imwrite(I, fullfile(outdir, 'circular_aperture_intensity.png'));
imwrite((P + pi) / (2 * pi), fullfile(outdir, 'circular_aperture_phase.png'));
printf('  open area: %.1f %% of the grid\n', 100 * mean(I(:)));

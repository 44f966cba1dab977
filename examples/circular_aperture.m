% A plane wave through a circular aperture and a displaced circular screen:
% the intensity and the phase of the masked field.
% Writes build/demo/circular_aperture.png.
size_ = 10e-3;          % grid side: 10 mm
lambda = 633e-9;        % He-Ne wavelength
N = 256;

F = KVBegin(size_, lambda, N);
F = KVCircAperture(4e-3, 0, 0, F);          % hole of radius 4 mm on the axis
F = KVCircScreen(1.5e-3, 1.5e-3, -1e-3, F); % disc of radius 1.5 mm, off axis

I = KVIntensity(0, F);                      % the incident plane wave has 1
P = KVPhase(F);                             % radians; blocked samples read pi/2
printf('  open area: %.1f %% of the grid\n', 100 * mean(I(:)));

% Sample F(r, c) lies at x = (c - 1 - N/2)*size/N, y = (r - 1 - N/2)*size/N.
x = ((0:N-1) - N / 2) * size_ / N;
% KVPhase reads pi/2 where the field is zero: drawn grey (NaN) instead.
P(I == 0) = NaN;
[fig, pos] = demo_figure(1, 2, 260, 'bar', 'each', ...
                         'heading', 'Hole of radius 4 mm with a disc of radius 1.5 mm at (1.5, -1) mm');
demo_image(pos{1}, x, x, I, 'title', 'intensity', 'clim', [0 1], 'map', gray(256), ...
           'bar', 'intensity (incident wave = 1)');
demo_image(pos{2}, x, x, P, 'title', 'phase (grey: no light)', 'clim', [-pi pi], ...
           'map', hsv(256), 'bar', 'phase (rad)', ...
           'barticks', {[-pi -pi/2 0 pi/2 pi], {'-π', '-π/2', '0', 'π/2', 'π'}});
demo_save(fig, 'circular_aperture', ...
          ['A plane wave (λ = 633 nm) through KVCircAperture and KVCircScreen on a 10 mm grid ' ...
           'of 256 × 256 samples: the intensity is 1 in the opening and 0 elsewhere; the phase ' ...
           'is 0 in the opening (grey where no light passes: KVPhase reads π/2 there).']);

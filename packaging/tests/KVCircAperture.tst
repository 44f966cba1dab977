%!demo
%! ## Apertures and screens, each over a plane wave.
%! F = KVBegin (5e-3, 633e-9, 128);
%! masks = {KVCircAperture(1.5e-3, 0, 0, F), KVCircScreen(1.5e-3, 0, 0, F), ...
%!          KVRectAperture(3e-3, 1.5e-3, 0, 0, 30, F), KVRectScreen(3e-3, 1.5e-3, 0, 0, 30, F), ...
%!          KVGaussAperture(1e-3, 0, 0, 1, F), KVGaussScreen(1e-3, 0, 0, 0.2, F), ...
%!          KVSuperGaussAperture(1.5e-3, 4, 0, 0, 1, F), KVSuperGaussScreen(1.5e-3, 4, 0, 0, 0, F)};
%! names = {'Circ aperture', 'Circ screen', 'Rect aperture', 'Rect screen', ...
%!          'Gauss aperture', 'Gauss screen', 'SuperGauss ap.', 'SuperGauss scr.'};
%! for k = 1:8
%!   subplot (2, 4, k); imagesc (KVIntensity (0, masks{k}), [0 1]);
%!   axis image off; title (names{k});
%! end
%! colormap (gray);

%!test
%! ## Aperture and screen add up to the input; a sample on the circle passes.
%! F = KVRandomPhase (1, 6, KVBegin (4e-3, 633e-9, 64));
%! A = KVCircAperture (1e-3, 0.25e-3, 0, F);
%! S = KVCircScreen (1e-3, 0.25e-3, 0, F);
%! assert (A(:, 1:64) + S(:, 1:64), F(:, 1:64));
%! [x, y] = KVCoordinates (F);
%! assert (abs (A(:, 1:64)) > 0, (x - 0.25e-3).^2 + y.^2 <= 1e-6);

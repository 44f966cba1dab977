%!shared F, d
%! % 8 x 8 grid of spacing d; sample (x, y) = (c - 5, r - 5)*d at row r,
%! % column c: x goes with the column, y with the row.
%! F = KVBegin (8e-3, 1e-6, 8);
%! d = 1e-3;

%!test
%! % On the field as KVBegin returns it: the rectangle's width and a tilt in
%! % x run along the columns, the (1, 1) Zernike term along the rows.
%! [r, c] = find (KVIntensity (0, KVRectAperture (4.5 * d, 2.5 * d, 0, 0, 0, F)));
%! assert ([min(r) max(r) min(c) max(c)], [4 6 3 7]);
%! G = KVTilt (1e-4, 0, F);
%! assert (angle (G(2, 6)), -6.283185308 / 1e-6 * d * 1e-4, 1e-12);
%! assert (abs (G(1:8, 1:8)), ones (8), 1e-15);
%! G = KVZernike (1, 1, 4 * d, 0.4, F);
%! assert (angle (G(7, 5)), 0.2, 1e-9);

%!test
%! % A chain: the intensity factors of the Gaussian aperture and screen
%! % multiply, and the axicon between them changes no amplitude.
%! G = KVGaussAperture (2 * d, 0, 0, 0.5, F);
%! I = KVIntensity (0, KVGaussScreen (2 * d, 0, 0, 0.2, KVAxicon (3, 1.5, d, 0, G)));
%! assert (I(5, 5), 0.5 * 0.2, 1e-15);
%! assert (I(5, 7), 0.5 * exp (-1) * (1 - 0.8 * exp (-1)), 1e-15);
%! % y_shift is read as given: a complex value counts by its real part.
%! assert (KVAxicon (3, 1.5, d, 2 * d + 1i, F), KVAxicon (3, 1.5, d, 2 * d, F));

%!error <expects six input arguments> G = KVRectAperture (1, 1, 0, 0, F)
%!error <No spherical coordinates allowed. Use KVConvert first> G = KVAxicon (3, 1.5, 0, 0, [KVBegin(8e-3, 1e-6, 8)(:, 1:8), [8e-3; 1e-6; 8; 1; 0; 0; 0; 0]])
%!error <: argument must be larger than zero$> G = KVZernike (2, 1, 1, 1, KVBegin (8e-3, 1e-6, 8))

%!shared F, d
%! % 8 x 8 grid of spacing d; sample (x, y) = (c - 5, r - 5)*d at row r,
%! % column c: x goes with the column, y with the row.
%! F = KVBegin (8e-3, 1e-6, 8);
%! d = 1e-3;

%!test
%! % The width runs along x (columns); a quarter turn lays it along y.
%! A = KVRectAperture (4.5 * d, 2.5 * d, 0, 0, 0, F);
%! [r, c] = find (KVIntensity (0, A));
%! assert ([min(r) max(r) min(c) max(c)], [4 6 3 7]);
%! A = KVRectAperture (4.5 * d, 2.5 * d, 0, 0, 90, F);
%! [r, c] = find (KVIntensity (0, A));
%! assert ([min(r) max(r) min(c) max(c)], [3 7 4 6]);
%! % Shift first, then turn about the shifted centre.
%! A = KVRectAperture (4.5 * d, 2.5 * d, d, -2 * d, 90, F);
%! [r, c] = find (KVIntensity (0, A));
%! assert ([min(r) max(r) min(c) max(c)], [1 5 5 7]);

%!test
%! % Gaussian aperture: intensity R/e at r = w; screen: T at the centre.
%! I = KVIntensity (0, KVGaussAperture (2 * d, 0, 0, 0.5, F));
%! assert (I(5, 5), 0.5, 1e-15);
%! assert (I(5, 7), 0.5 * exp (-1), 1e-15);
%! assert (I(3, 5), 0.5 * exp (-1), 1e-15);
%! I = KVIntensity (0, KVGaussScreen (2 * d, d, 0, 0.2, F));
%! assert (I(5, 6), 0.2, 1e-15);
%! assert (I(5, 8), 1 - 0.8 * exp (-1), 1e-15);

%!test
%! % Tilt: the phase falls along x by k*tx per unit length.
%! tx = 1e-4;
%! G = KVTilt (tx, 0, F);
%! k = 6.283185308 / 1e-6;
%! assert (angle (G(5, 6)), -k * d * tx, 1e-12);
%! assert (angle (G(2, 6)), -k * d * tx, 1e-12);
%! assert (G(5, 5), 1);
%! assert (abs (G(1:8, 1:8)), ones (8), 1e-15);

%!test
%! % Axicon: the phase falls linearly with the distance from the tip.
%! G = KVAxicon (3.0, 1.5, d, 0, F);
%! g = asin (cos (1.5) * 1.5 + 1.5 - 1.5707963) * 6.2831852 / 1e-6;
%! assert (G(5, 6), 1);
%! assert (G(5, 8) / G(5, 7), exp (-1i * g * d), 1e-9);
%! assert (G(2, 2) / G(4, 4), exp (-1i * g * d * (5 - sqrt (5))), 1e-9);
%! % y_shift is read as given: a complex value counts by its real part.
%! assert (KVAxicon (3.0, 1.5, d, 2 * d + 1i, F), KVAxicon (3.0, 1.5, d, 2 * d, F));
%! % No real deflection angle: NaN samples, no error.
%! assert (all (isnan (KVAxicon (1, 3, 0, 0, F)(1:8, 1:8)(:))));

%!test
%! % Zernike: defocus puts -A at the centre and +A at distance R.
%! G = KVZernike (2, 0, 4 * d, 0.5, F);
%! assert (angle (G(5, 5)), -0.5, 1e-15);
%! assert (angle (G(5, 1)), 0.5, 1e-15);
%! assert (angle (G(1, 5)), 0.5, 1e-15);
%! % Tilt terms: (1, -1) along x, (1, 1) along y.
%! G = KVZernike (1, -1, 4 * d, 0.4, F);
%! assert (angle (G(5, 7)), 0.2, 1e-12);
%! G = KVZernike (1, 1, 4 * d, 0.4, F);
%! assert (angle (G(7, 5)), 0.2, 1e-9);
%! % Orders are truncated.
%! assert (KVZernike (2.9, -0.5, 4 * d, 0.5, F), KVZernike (2, 0, 4 * d, 0.5, F));
%! % Orders whose factorials overflow give NaN at once.
%! assert (all (isnan (KVZernike (2e9, 0, d, 1, F)(1:8, 1:8)(:))));

%!error <expects six input arguments> G = KVRectAperture (1, 1, 0, 0, F)
%!error <expects five input arguments> G = KVGaussScreen (1, 0, 0, F)
%!error <expects one output argument> [a, b] = KVTilt (0, 0, KVBegin (8e-3, 1e-6, 8))
%!error <Input must be real scalar.> G = KVSuperGaussAperture (1, 1i, 0, 0, 1, KVBegin (8e-3, 1e-6, 8))
%!error <Input must be real scalar.> G = KVAxicon (1, 1.5, [0 0], 0, KVBegin (8e-3, 1e-6, 8))
%!error <Input field is not a Korvane field.> G = KVTilt (0, 0, ones (8))
%!error <No spherical coordinates allowed. Use KVConvert first> G = KVAxicon (3, 1.5, 0, 0, [KVBegin(8e-3, 1e-6, 8)(:, 1:8), [8e-3; 1e-6; 8; 1; 0; 0; 0; 0]])
%!error <: first argument must be larger than zero$> G = KVZernike (-1, 1, 1, 1, KVBegin (8e-3, 1e-6, 8))
%!error <: argument must be larger than zero$> G = KVZernike (2, 1, 1, 1, KVBegin (8e-3, 1e-6, 8))
%!error <: argument must be larger than zero$> G = KVZernike (1, 3, 1, 1, KVBegin (8e-3, 1e-6, 8))

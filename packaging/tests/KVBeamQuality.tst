%!demo
%! ## M^2 of Gauss-Hermite modes TEM(0,m): 2m + 1.
%! F = KVBegin (16e-3, 1e-6, 256);
%! m = 0:5;
%! M2 = arrayfun (@(k) KVBeamQuality (KVGaussHermite (0, k, 1, 1e-3, F)), m);
%! plot (m, M2, 'o', m, 2 * m + 1, '-'); xlabel ('m'); ylabel ('M^2');

%!test
%! ## A Gaussian focused by a lens: the waist where the ABCD law puts it.
%! F = KVGaussHermite (0, 0, 1, 1e-3, KVBegin (16e-3, 1e-6, 256));
%! [M2x, M2y, w0x, w0y, z0x, z0y] = KVBeamQuality (KVLens (2, 0, 0, F));
%! zR = pi * 1e-3^2 / 1e-6;
%! assert ([M2x, M2y], [1 1], 1e-6);
%! assert ([z0x, z0y], 2 / (1 + (2 / zR)^2) * [1 1], 1e-3);
%! assert ([w0x, w0y], 1e-3 / sqrt (1 + (zR / 2)^2) * [1 1], 1e-6);

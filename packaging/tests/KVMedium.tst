%!demo
%! ## A parabolic graded-index lens seen from the side: an off-axis spot
%! ## crosses the axis and is imaged, inverted, after half a period pi/g.
%! N = 128; L = 64e-6; g = 1e4;
%! F = KVBegin (L, 1e-6, N);
%! [x, y] = KVCoordinates (F);
%! n = 1.5 * sqrt (1 - g^2 * (x.^2 + y.^2));
%! w = sqrt (2 / (2 * pi / 1e-6 * 1.5 * g));
%! F = KVGaussAperture (w, 8e-6, 0, 1, F);
%! [G, Ixz] = KVMedium (pi / g, 314, n, F, 0);
%! imagesc ((0:314) * 1e-6 * 1e6, x(1, :) * 1e6, Ixz);
%! xlabel ('z (um)'); ylabel ('x (um)'); title ('graded-index lens, half a period');

%!test
%! ## A plane wave through glass gains k0*(n - 1)*z; n = 1 is KVAngularSpectrum.
%! F = KVBegin (1e-4, 1e-6, 32);
%! G = KVMedium (1e-3, 5, 1.5, F, 0);
%! assert (G(1:32, 1:32), exp (1i * 2 * pi / 1e-6 * 0.5 * 1e-3) * ones (32), 1e-9);
%! F = KVGaussAperture (1e-5, 0, 0, 1, KVBegin (1e-4, 1e-6, 32));
%! assert (KVMedium (1e-4, 3, 1, F, 0), KVAngularSpectrum (1e-4, F), 1e-12);

%!test
%! ## Ixz: the row y = 0 before the first step and after each step.
%! F = KVGaussAperture (1e-5, 0, 0, 1, KVBegin (1e-4, 1e-6, 32));
%! [G, Ixz] = KVMedium (1e-4, 4, 1.2, F);
%! assert (size (Ixz), [32 5]);
%! assert (Ixz(:, 1), abs (F(17, 1:32)).'.^2, 1e-14);
%! assert (Ixz(:, 5), abs (G(17, 1:32)).'.^2, 1e-12);

%!error <multiple> G = KVMedium (1e-3, 3, ones (8, 8, 2), KVBegin (1e-3, 1e-6, 8))
%!error <between 0 and 0.25> G = KVMedium (1e-3, 3, 1, KVBegin (1e-3, 1e-6, 8), 0.3)

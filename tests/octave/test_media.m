%!shared F, N, x, y, idx
%! N = 32;
%! F = KVGaussAperture (6e-6, 3e-6, 0, 1, KVBegin (64e-6, 1e-6, N));
%! [x, y] = KVCoordinates (F);
%! idx = 1.45 + 0.01 * exp (-(x.^2 + y.^2) / (10e-6)^2);

%!test
%! ## The index in any numeric class, read in place, gives the result of
%! ## the same values in double; a logical index reads as 0 and 1.
%! n8 = uint8 (round (idx));
%! assert (KVMedium (2e-5, 3, n8, F), KVMedium (2e-5, 3, double (n8), F));
%! assert (KVMedium (2e-5, 3, single (idx), F), KVMedium (2e-5, 3, double (single (idx)), F));
%! assert (KVMedium (2e-5, 3, int16 (2), F), KVMedium (2e-5, 3, 2, F));
%! assert (KVMedium (2e-5, 3, true (N), F), KVMedium (2e-5, 3, ones (N), F));
%! assert (KVMedium (2e-5, 3, sparse (idx), F), KVMedium (2e-5, 3, idx, F));

%!test
%! ## Complex indices, interleaved or single: Im(n) > 0 absorbs.
%! nc = idx + 1e-3i;
%! G = KVMedium (2e-5, 4, nc, F, 0);
%! assert (KVPower (G) / KVPower (F), exp (-2 * 2 * pi / 1e-6 * 1e-3 * 2e-5), 1e-9);
%! assert (KVMedium (2e-5, 4, single (nc), F, 0), KVMedium (2e-5, 4, double (single (nc)), F, 0));

%!test
%! ## N x N x K: slice k fills the k-th of K lengths; one call equals K calls.
%! n3 = cat (3, idx, 1.5 * ones (N), idx + 0.02);
%! G = KVMedium (3e-5, 6, n3, F, 0.05);
%! H = F;
%! for k = 1:3
%!   H = KVMedium (1e-5, 2, n3(:, :, k), H, 0.05);
%! end
%! assert (G, H, 1e-12);
%! assert (KVMedium (3e-5, 6, int8 (n3), F), KVMedium (3e-5, 6, double (int8 (n3)), F));

%!test
%! ## The output header is Fin's; the side view has steps + 1 columns.
%! [G, Ixz] = KVMedium (1e-5, 7, idx, F);
%! assert (real (G(:, N + 1)), real (F(:, N + 1)));
%! assert (size (Ixz), [N 8]);
%! assert (Ixz(:, 1), abs (F(N/2 + 1, 1:N)).'.^2, 1e-15);
%! assert (Ixz(:, end), abs (G(N/2 + 1, 1:N)).'.^2, 1e-13);
%! assert (KVMedium (0, 1, idx, F), F);

%!test
%! ## KVMode: two outputs, a mode of power 1 with the largest sample positive.
%! n = 1.45 + 0.01 * (x.^2 + y.^2 < (8e-6)^2);
%! [M, neff] = KVMode (n, 0, F);
%! assert (neff > 1.45 && neff < 1.46);
%! assert (KVPower (M), 1, 1e-12);
%! S = real (M(1:N, 1:N));
%! assert (max (S(:)) >= -min (S(:)));
%! assert (KVMode (single (n), 0, F), KVMode (double (single (n)), 0, F));

%!error <spherical> G = KVMedium (1e-3, 1, 1, [F(:, 1:N), [64e-6; 1e-6; N; 1; 0; zeros(N - 5, 1)]])
%!error <multiple of the K slices> G = KVMedium (1e-3, 4, ones (N, N, 3), F)
%!error <scalar, an N x N array> G = KVMedium (1e-3, 4, ones (N, N + 1), F)
%!error <numeric> G = KVMedium (1e-3, 4, {1}, F)
%!error <at least 1|between 1 and> G = KVMedium (1e-3, 0, 1, F)
%!error <zero or positive> G = KVMedium (-1e-3, 1, 1, F)
%!error <between 0 and 0.25> G = KVMedium (1e-3, 1, 1, F, -0.1)
%!error <real> G = KVMode (idx + 1i, 0, F)
%!error <between 0 and 60> G = KVMode (idx, -1, F)
%!error <No mode is guided> G = KVMode (1.45 * ones (N), 0, F)
%!error <Only 3 modes are guided; m must be less than 3> G = KVMode (1.45 + 0.005 * (x.^2 + y.^2 < (3e-6)^2), 3, F)
%!error <expects three input arguments> G = KVMode (idx, F)

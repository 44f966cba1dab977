%!demo
%! ## Phi is in degrees: the same rectangle at 0, 30 and 90.
%! F = KVBegin (5e-3, 633e-9, 128);
%! for k = 1:3
%!   phi = [0 30 90](k);
%!   subplot (1, 3, k); imagesc (KVIntensity (0, KVRectAperture (3e-3, 1e-3, 0, 0, phi, F)));
%!   axis image off; title (sprintf ('Phi = %d', phi));
%! end

%!test
%! ## Phi is in degrees: at 90 the width runs along y (the rows).
%! F = KVBegin (4e-3, 633e-9, 64);
%! A = abs (KVRectAperture (2e-3, 0.5e-3, 0, 0, 0, F)(:, 1:64)) > 0;
%! B = abs (KVRectAperture (2e-3, 0.5e-3, 0, 0, 90, F)(:, 1:64)) > 0;
%! assert ([nnz(any (A, 2)), nnz(any (A, 1))], [9 33]);
%! assert ([nnz(any (B, 2)), nnz(any (B, 1))], [33 9]);
%! S = KVRectScreen (2e-3, 0.5e-3, 0, 0, 0, F);
%! assert (S(33, 33), 0);

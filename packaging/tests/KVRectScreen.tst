%!test
%! ## Strictly inside is blocked, the edge passes; turned 90 degrees.
%! F = KVBegin (4e-3, 633e-9, 64);
%! S = abs (KVRectScreen (2e-3, 0.5e-3, 0, 0, 90, F)(:, 1:64)) == 0;
%! assert (nnz (any (S, 2)) > nnz (any (S, 1)));
%! assert (S(33, 33));

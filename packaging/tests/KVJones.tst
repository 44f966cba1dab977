%!test
%! ## A quarter-wave plate with its fast axis along x, as a Jones matrix:
%! ## light at 45 degrees becomes circular (S3 = S0).
%! F = KVBegin (1e-3, 1e-6, 16);
%! [Fx, Fy] = KVJones ([1 0; 0 1i], F, F);
%! [S0, S1, S2, S3] = KVStokes (Fx, Fy);
%! assert (S3, S0);
%! assert (S1, zeros (16));

%!error <2 x 2 double array> [a, b] = KVJones (eye (3), KVBegin (1, 1, 8), KVBegin (1, 1, 8))

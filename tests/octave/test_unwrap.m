%!test
%! % A paraboloid spanning about 40 radians, put on a field, read back
%! % wrapped by KVPhase and unwrapped: the centre's wrapped value fixes the
%! % multiple of 6.283185308 (none here, the centre is at -1).
%! N = 64;
%! [X, Y] = meshgrid ((0:N-1) - N/2);
%! P = 0.02 * (X.^2 + Y.^2) - 1;
%! W = KVPhase (KVSubPhase (P, KVBegin (1e-3, 1e-6, N)));
%! U = KVPhaseUnwrap (1, W);
%! assert (U, P, 1e-8);
%! assert (KVPhaseUnwrap (-2, W), -2 * U, 1e-12);
%! assert (KVPhaseUnwrap (1, sparse (W)), U);

%!error <Input phase array must have real elements.> X = KVPhaseUnwrap (1, [1 2i; 3 4])
%!error <Input phase array must be square.> X = KVPhaseUnwrap (1, ones (8, 9))

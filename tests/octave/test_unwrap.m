%!shared N, x, F
%! N = 64;
%! x = (0:N-1) - N/2;
%! F = KVBegin (1e-3, 1e-6, N);

%!test
%! % A paraboloid spanning about 40 radians, put on a field, read back
%! % wrapped by KVPhase and unwrapped: the centre's wrapped value fixes the
%! % multiple of 6.283185308 (none here, the centre is at -1). Each step of
%! % 6.283185308 differs from 2*pi by 8e-10.
%! [X, Y] = meshgrid (x);
%! P = 0.02 * (X.^2 + Y.^2) - 1;
%! W = KVPhase (KVSubPhase (P, F));
%! U = KVPhaseUnwrap (1, W);
%! assert (U(N/2 + 1, N/2 + 1), W(N/2 + 1, N/2 + 1));
%! assert (U, P, 1e-8);
%! assert (KVPhaseUnwrap (-2, W), -2 * U, 1e-12);

%!test
%! % A ramp of 1.0 per column with its centre above pi: the result is the
%! % ramp shifted by the centre's multiple of 6.283185308.
%! R = repmat (x + 4, N, 1);
%! U = KVPhaseUnwrap (1, angle (exp (1i * R)));
%! assert (U, R - 6.283185308, 1e-8);

%!test
%! % Odd and small sizes are unwrapped completely; sparse arrays are read
%! % as their values.
%! for n = [1 2 3 5 7]
%!   P = 0.4 * (1:n)' + 0.3 * (1:n);
%!   W = P + 6.283185308 * (mod ((1:n)' + (1:n), 3) - 1);
%!   c = floor (n / 2) + 1;
%!   W(c, c) = P(c, c);
%!   assert (KVPhaseUnwrap (1, W), P, 1e-9);
%! end
%! assert (size (KVPhaseUnwrap (1, [])), [0 0]);
%! assert (KVPhaseUnwrap (1, sparse (W)), KVPhaseUnwrap (1, W));

%!error <Input phase array must have real elements.> X = KVPhaseUnwrap (1, [1 2i; 3 4])
%!error <Input phase array must be square.> X = KVPhaseUnwrap (1, ones (8, 9))

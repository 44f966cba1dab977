%!shared N, x, F
%! N = 64;
%! x = (0:N-1) - N/2;
%! F = KVBegin (1e-3, 1e-6, N);

%!test
%! % A paraboloid spanning about 40 radians, put on a field, read back
%! % wrapped by KVPhase and unwrapped: the centre's wrapped value fixes the
%! % multiple of 6.283185308 (none here, the centre is at -1).
%! [X, Y] = meshgrid (x);
%! P = 0.02 * (X.^2 + Y.^2) - 1;
%! W = KVPhase (KVSubPhase (P, F));
%! assert (max (abs (W(:))) <= pi + 1e-9);
%! U = KVPhaseUnwrap (1, W);
%! assert (U(N/2 + 1, N/2 + 1), W(N/2 + 1, N/2 + 1));
%! assert (U, P, 1e-8);
%! assert (KVPhaseUnwrap (-2, W), -2 * U, 1e-12);

%!test
%! % A ramp of 1.0 per column with its centre above pi: the result is the
%! % ramp shifted by the centre's multiple of 6.283185308.
%! R = repmat (x + 4, N, 1);
%! W = angle (exp (1i * R));
%! U = KVPhaseUnwrap (1, W);
%! assert (U, R - 6.283185308, 1e-8);

%!test
%! % Odd and small sizes are unwrapped completely; classes other than
%! % double are read as their values.
%! for n = [1 2 3 5 7]
%!   P = 0.4 * (1:n)' + 0.3 * (1:n);
%!   W = P + 6.283185308 * (mod ((1:n)' + (1:n), 3) - 1);
%!   c = floor (n / 2) + 1;
%!   W(c, c) = P(c, c);
%!   assert (KVPhaseUnwrap (1, W), P, 1e-9);
%! end
%! assert (size (KVPhaseUnwrap (1, [])), [0 0]);
%! W = angle (exp (1i * magic (6) / 8));
%! assert (KVPhaseUnwrap (1, single (W)), KVPhaseUnwrap (1, double (single (W))));
%! assert (KVPhaseUnwrap (1, sparse (W)), KVPhaseUnwrap (1, W));

%!test
%! % Infinite and huge values end at once and stay where they are.
%! W = zeros (8); W(2, 3) = Inf; W(6, 6) = 1e300;
%! tic; U = KVPhaseUnwrap (1, W); assert (toc < 5);
%! assert (U(2, 3), Inf);
%! assert (U(6, 6), 1e300);

%!error <Input phase array must have real elements.> X = KVPhaseUnwrap (1, [1 2i; 3 4])
%!error <Input phase array must be square.> X = KVPhaseUnwrap (1, ones (8, 9))
%!error <Input must be real scalar.> X = KVPhaseUnwrap ([1 2], ones (4))
%!error <expects two input arguments> X = KVPhaseUnwrap (ones (4))

%!shared F, N, P
%! N = 8;
%! F = KVBegin (1e-3, 1e-6, N);
%! [c, r] = meshgrid (0:N-1);
%! P = F;
%! P(1:N, 1:N) = complex (sin (0.7 * r + 0.3 * c) + 0.5, cos (0.2 * r - 0.9 * c));

%!error <expects seven input arguments> G = KVInterpol (1e-3, 8, 0, 0, 0, F);
%!error <expects one output argument> [G, H] = KVInterpol (1e-3, 8, 0, 0, 0, 1, F);
%!error <Input must be real scalar.> G = KVInterpol (1e-3, 8, 0, 0, 1i, 1, F);
%!error <Input must be real scalar.> G = KVInterpol (1e-3, [8 8], 0, 0, 0, 1, ones (3));
%!error <Input field is not a Korvane field.> G = KVInterpol (1e-3, 8, 0, 0, 0, 1, ones (8));
%!error <new_number must be at least 5.> G = KVInterpol (1e-3, 4.9, 0, 0, 0, 1, F);
%!error <new_number must be at least 5.> G = KVInterpol (1e-3, 0, 0, 0, 0, 1, F);
%!error <new_number must be at least 5.> G = KVInterpol (1e-3, NaN, 0, 0, 0, 1, F);
%!error <too large> G = KVInterpol (1e-3, 1e10, 0, 0, 0, 1, F);
%!error <too large> G = KVInterpol (1e-3, 2^31 - 1, 0, 0, 0, 1, F);
%!error <expects four input arguments> G = KVLens (1, 0, F);
%!error <Input must be real scalar.> G = KVLens ([1 1], 0, 0, F);
%!error <Input must be real scalar.> G = KVLens (1, 0, [], F);
%!error <Input must be real scalar.> G = KVLens (1, 0, 'a', F);
%!error <No spherical coordinates allowed. Use KVConvert first> G = KVLens (1, 0, 0, [F(:, 1:8) [1e-3; 1e-6; 8; 0.5; 0; 0; 0; 0]]);
%!error <expects one input argument> G = KVConvert (F, F);
%!error <Input field is not a Korvane field.> G = KVConvert (ones (8, 8));

%!test
%! % Same grid, no change: the interior is copied, the border lines are 0.
%! G = KVInterpol (1e-3, N, 0, 0, 0, 1, P);
%! assert (G(2:N-1, 2:N-1), P(2:N-1, 2:N-1), 1e-12);
%! assert (G([1 N], 1:N), zeros (2, N));
%! assert (G(1:N, [1 N]), zeros (N, 2));
%! assert (G(1:5, N + 1).', [1e-3 1e-6 N 0 0]);

%!test
%! % Magnification 2 halves the amplitude; the header follows the new grid.
%! H = F; H(4, N + 1) = 0.75; H(5, N + 1) = 4.9;
%! G = KVInterpol (2e-3, 11.9, 0, 0, 0, 2, H);
%! assert (size (G), [11 12]);
%! assert (G(1:5, 12).', [2e-3 1e-6 11 0.75 4]);
%! assert (G(3:9, 3:9), 0.5 * ones (7), 1e-12);
%! % a shift of one output spacing moves the pattern by one column (x)
%! A = KVInterpol (1e-3, N, 0, 0, 0, 1, P);
%! B = KVInterpol (1e-3, N, 1e-3 / (N - 1), 0, 0, 1, P);
%! assert (B(2:N-1, 3:N-1), A(2:N-1, 2:N-2), 1e-12);
%! % 90 degrees carries the input's x axis onto the output's y axis
%! R = KVInterpol (1e-3, N, 0, 0, 90, 1, P);
%! assert (R(7, 4), P(6, 7), 1e-6);   % (x, y) = (-d, 2d) shows the input at (2d, d)

%!test
%! % The lens centre, given as (x, y), is the sample in column x, row y.
%! G = KVLens (2, 1e-3 / N, -2e-3 / N, P);
%! assert (G(N/2 - 1, N/2 + 2), P(N/2 - 1, N/2 + 2));
%! assert (G(N/2 + 2, N/2 - 1) != P(N/2 + 2, N/2 - 1));
%! % y_shift is read without the real-scalar test: an array gives its first element
%! assert (KVLens (2, 0, [1e-4 5 7], P), KVLens (2, 0, 1e-4, P));

%!test
%! % Conversion: centre unchanged, the sample at x = size/N turned by
%! % (6.2831852/lambda)*c*(size/N)^2/2, curvature 0 afterwards; twice = once.
%! c = 0.25;
%! S = P; S(4, N + 1) = c;
%! G = KVConvert (S);
%! assert (G(N/2 + 1, N/2 + 1), S(N/2 + 1, N/2 + 1));
%! dx = 1e-3 / N;
%! assert (G(N/2 + 1, N/2 + 2), S(N/2 + 1, N/2 + 2) * exp (1i * (6.2831852 / 1e-6) * c * dx^2 / 2), 1e-12);
%! assert (G(4, N + 1), 0);
%! assert (KVConvert (G), G);
%! % the lens accepts the converted field
%! assert (size (KVLens (1, 0, 0, G)), [N N + 1]);

%!shared F, N, P
%! N = 8;
%! F = KVBegin (1e-3, 1e-6, N);
%! [c, r] = meshgrid (0:N-1);
%! P = F;
%! P(1:N, 1:N) = complex (sin (0.7 * r + 0.3 * c) + 0.5, cos (0.2 * r - 0.9 * c));

%!error <new_number must be at least 5.> G = KVInterpol (1e-3, 4.9, 0, 0, 0, 1, F);
%!error <No spherical coordinates allowed. Use KVConvert first> G = KVLens (1, 0, 0, [F(:, 1:8) [1e-3; 1e-6; 8; 0.5; 0; 0; 0; 0]]);

%!test
%! % The plane wave of KVBegin (a real array here): the interior is copied, the
%! % border lines are 0, and magnification 2 halves the amplitude.
%! G = KVInterpol (1e-3, N, 0, 0, 0, 1, F);
%! assert (G(2:N-1, 2:N-1), ones (N - 2), 1e-12);
%! assert (G([1 N], 1:N), zeros (2, N));
%! G = KVInterpol (2e-3, 11.9, 0, 0, 0, 2, F);
%! assert (size (G), [11 12]);
%! assert (G(3:9, 3:9), 0.5 * ones (7), 1e-12);

%!test
%! % x goes along the columns, y along the rows: a shift of one spacing in x
%! % moves the pattern by one column, and 90 degrees carries the input's
%! % x axis onto the output's y axis.
%! A = KVInterpol (1e-3, N, 0, 0, 0, 1, P);
%! B = KVInterpol (1e-3, N, 1e-3 / (N - 1), 0, 0, 1, P);
%! assert (B(2:N-1, 3:N-1), A(2:N-1, 2:N-2), 1e-12);
%! R = KVInterpol (1e-3, N, 0, 0, 90, 1, P);
%! assert (R(7, 4), P(6, 7), 1e-6);   % (x, y) = (-d, 2d) shows the input at (2d, d)

%!test
%! % The lens centre, given as (x, y), is the sample in column x, row y.
%! G = KVLens (2, 1e-3 / N, -2e-3 / N, P);
%! assert (G(N/2 - 1, N/2 + 2), P(N/2 - 1, N/2 + 2));
%! assert (G(N/2 + 2, N/2 - 1) != P(N/2 + 2, N/2 - 1));

%!test
%! % A spherical field converted, then through a lens; converting twice is
%! % converting once.
%! S = P; S(4, N + 1) = 0.25;
%! G = KVConvert (S);
%! assert (G(4, N + 1), 0);
%! assert (KVConvert (G), G);
%! assert (size (KVLens (1, 0, 0, G)), [N N + 1]);

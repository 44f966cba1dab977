%!shared F, N
%! N = 16;
%! F = KVBegin (2e-3, 1e-6, N);

%!test
%! % An 8-bit image read from disk is used as an intensity profile as it
%! % stands, with the same result as its double() conversion.
%! I = uint8 (mod ((0:N-1)' * 7 + (0:N-1) * 3, 256));
%! file = [tempname() '.png'];
%! imwrite (I, file);
%! J = imread (file);
%! delete (file);
%! assert (class (J), 'uint8');
%! G = KVSubIntensity (J, F);
%! assert (G, KVSubIntensity (double (J), F));
%! assert (KVIntensity (0, G), double (I), 1e-9);
%! assert (KVMultIntensity (J, F), KVMultIntensity (double (J), F));
%! assert (KVSubPhase (J, F), KVSubPhase (double (J), F));
%! assert (KVMultPhase (J, F), KVMultPhase (double (J), F));

%!test
%! % Logical masks, single and sparse arrays are read as their values.
%! M = false (N); M(3, 11) = true;
%! G = KVMultIntensity (M, F);
%! [r, c] = find (KVIntensity (0, G));
%! assert ([r c], [3 11]);
%! assert (KVMultIntensity (single (M), F), G);
%! assert (KVMultIntensity (sparse (double (M)), F), G);
%! assert (KVMultIntensity (sparse (M), F), G);

%!test
%! % Profile (r, c) sets field row r, column c.
%! P = zeros (N); P(2, 9) = pi / 2;
%! G = KVMultPhase (P, F);
%! assert (G(2, 9), 1i, 1e-15);
%! assert (G(9, 2), 1);
%! assert (G(1:5, N + 1).', [2e-3 1e-6 N 0 0]);
%! G(1:N, 1:N) *= 2;
%! H = KVSubPhase (P, G);
%! assert (KVPhase (H), P, 1e-15);
%! assert (abs (H(1:N, 1:N)), 2 * ones (N), 1e-15);

%!test
%! % The random commands repeat for a seed and share their draws.
%! A = KVRandomIntensity (5.7, F);
%! assert (A, KVRandomIntensity (5, F));
%! assert (! isequal (A, KVRandomIntensity (6, F)));
%! t = real (A(1:N, 1:N));
%! assert (all (t(:) >= 0 & t(:) <= 1));
%! assert (numel (unique (t)) > N * N / 2);
%! P = KVRandomPhase (5, 2.9, F);
%! assert (angle (P(1:N, 1:N)), (t - 0.5) * 2, 1e-12);
%! assert (abs (P(1:N, 1:N)), ones (N), 1e-15);
%! assert (KVRandomPhase (5, 0.7, F), F);

%!test
%! % TEM modes: the centre of TEM00 is A, of TEM20 -2A; odd n zeroes the
%! % centre row, odd m the centre column.
%! G = KVGaussHermite (0, 0, 2, 5e-4, F);
%! assert (G(N/2 + 1, N/2 + 1), 2);
%! assert (KVGaussHermite (2, 0, 2, 5e-4, F)(N/2 + 1, N/2 + 1), -4);
%! G = KVGaussHermite (1, 0, 1, 5e-4, F);
%! assert (G(N/2 + 1, 1:N), zeros (1, N));
%! assert (all (G(N/2 + 2, 2:N) > 0));
%! G = KVGaussHermite (0, 3, 1, 5e-4, F);
%! assert (G(1:N, N/2 + 1), zeros (N, 1));
%! assert (isreal (G) || all (imag (G(:)) == 0));

%!error <expects three input arguments\.> G = KVRandomPhase (1, F);
%!error <expects one output argument\.> [G, H] = KVRandomPhase (1, 1, F);
%!error <Input must be real scalar.> G = KVRandomPhase (1, single (1), KVBegin (1, 1, 16));
%!error <Input field is not a Korvane field.> G = KVRandomIntensity (1, ones (16));
%!error <Input intensity array must be square and must have equal dimensions as the input field.> G = KVSubIntensity (ones (15, 16), KVBegin (1, 1, 16));
%!error <Input intensity array must be square and must have equal dimensions as the input field.> G = KVMultIntensity (uint8 (ones (16, 16, 3)), KVBegin (1, 1, 16));
%!error <Input phase array must be square and must have equal dimensions as the input field.> F = KVBegin (1, 1, 16); G = KVSubPhase (F, F);
%!error <Input phase array must be a numeric or logical array.> G = KVMultPhase (cell (16), KVBegin (1, 1, 16));
%!error <Input intensity array must be a numeric or logical array.> G = KVSubIntensity (repmat ('a', 16), KVBegin (1, 1, 16));

%!shared F, N
%! N = 16;
%! F = KVBegin (2e-3, 1e-6, N);

%!test
%! % An 8-bit image read from disk is used as an intensity profile as it
%! % stands, with the same result as its double() conversion; a logical
%! % mask and a sparse array are read as their values.
%! I = uint8 (mod ((0:N-1)' * 7 + (0:N-1) * 3, 256));
%! file = [tempname() '.png'];
%! imwrite (I, file);
%! J = imread (file);
%! delete (file);
%! assert (class (J), 'uint8');
%! G = KVSubIntensity (J, F);
%! assert (G, KVSubIntensity (double (J), F));
%! assert (KVIntensity (0, G), double (I), 1e-9);
%! M = false (N); M(3, 11) = true;
%! [r, c] = find (KVIntensity (0, KVMultIntensity (M, F)));
%! assert ([r c], [3 11]);
%! assert (KVMultIntensity (sparse (M), F), KVMultIntensity (M, F));

%!test
%! % A TEM mode is real, and Octave hands it over as a real array: the
%! % next commands still take it as a field.
%! G = KVGaussHermite (2, 0, 2, 5e-4, F);
%! assert (G(N/2 + 1, N/2 + 1), -4);
%! P = zeros (N); P(2, 9) = pi / 2;
%! H = KVMultPhase (P, KVRandomIntensity (5, G));
%! assert (abs (H(1:N, 1:N)), abs (KVRandomIntensity (5.9, G)(1:N, 1:N)), 1e-15);
%! assert (H(1:5, N + 1).', [2e-3 1e-6 N 0 0]);

%!error <expects three input arguments\.> G = KVRandomPhase (1, F);
%!error <Input field is not a Korvane field.> G = KVRandomIntensity (1, ones (16));
%!error <Input intensity array must be square and must have equal dimensions as the input field.> G = KVMultIntensity (uint8 (ones (16, 16, 3)), KVBegin (1, 1, 16));
%!error <Input phase array must be square and must have equal dimensions as the input field.> F = KVBegin (1, 1, 16); G = KVSubPhase (F, F);

%!shared N, F
%! N = 32;
%! F = KVBegin (2e-3, 1e-6, N);

%!test
%! % Two beams tilted against each other give cos^2 fringes along x.
%! G = KVBeamMix (KVTilt (1e-4, 0, F), KVTilt (-1e-4, 0, F));
%! x = ((0:N-1) - N/2) * 2e-3 / N;
%! assert (KVIntensity (0, G), repmat (4 * cos (6.283185308 / 1e-6 * 1e-4 * x).^2, N, 1), 1e-9);
%! assert (G(1:5, N + 1).', [2e-3 1e-6 N 0 0]);

%!test
%! % Gain: a weak beam gains exp(gain*L) in intensity, one at Isat
%! % exp(gain*L/2). L may be any numeric array: its first value counts.
%! assert (KVIntensity (0, KVGain (1, log (4), 1, KVIntAttenuator (1e-12, F))), ...
%!         4e-12 * ones (N), 1e-20);
%! G = KVGain (1, log (4), 1, F);
%! assert (KVIntensity (0, G), 2 * ones (N), 1e-12);
%! assert (KVGain (1, log (4), [1 7 7], F), G);

%!test
%! % Normalization: two results, the power before scaling.
%! [G, P] = KVNormal (KVBegin (2, 1e-6, 8));
%! assert (P, 4);
%! assert (G(1:8, 1:8), 0.5 * ones (8));

%!error <Input field 2 is not a Korvane field.> X = KVBeamMix (KVBegin (1, 1, 8), ones (8, 8))
%!error <expects two output arguments.> G = KVNormal (F)

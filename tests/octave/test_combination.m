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
%! % A beam at Isat gains exp(gain*L/2) in intensity; then normalized,
%! % with the power before scaling as the second result.
%! G = KVGain (1, log (4), 1, KVIntAttenuator (1, F));
%! assert (KVIntensity (0, G), 2 * ones (N), 1e-12);
%! [H, P] = KVNormal (G);
%! assert (P, 2 * (2e-3)^2, 1e-18);
%! assert (sum (abs (H(1:N, 1:N))(:).^2) * (2e-3 / N)^2, 1, 1e-12);

%!error <Input field 2 is not a Korvane field.> X = KVBeamMix (KVBegin (1, 1, 8), ones (8, 8))
%!error <expects two output arguments.> G = KVNormal (F)

%!test
%! F = KVGaussAperture (1e-3, 0, 0, 1, KVBegin (4e-3, 633e-9, 32));
%! P = 2 * rand (32) - 1;
%! G = KVSubPhase (P, F);
%! assert (KVPhase (G), P, 1e-12);
%! assert (KVIntensity (0, G), KVIntensity (0, F), 1e-15);

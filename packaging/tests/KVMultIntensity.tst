%!test
%! F = KVRandomPhase (2, 6, KVBegin (4e-3, 633e-9, 32));
%! T = rand (32);
%! G = KVMultIntensity (T, F);
%! assert (KVIntensity (0, G), T, 1e-12);
%! assert (KVPhase (G), KVPhase (F), 1e-12);

%!test
%! F = KVCircAperture (1e-3, 0, 0, KVBegin (3e-3, 633e-9, 64));
%! assert (KVStrehl (F), 1, 1e-14);
%! S = arrayfun (@(A) KVStrehl (KVZernike (4, 0, 1e-3, A, F)), [0.2 0.5 1]);
%! assert (all (diff (S) < 0) && S(1) < 1);
%! assert (S, exp (-([0.2 0.5 1] / sqrt (5)).^2), 0.02);
%!error <Zero beam power> S = KVStrehl (KVIntAttenuator (0, KVBegin (3e-3, 633e-9, 8)))

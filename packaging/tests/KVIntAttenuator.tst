%!test
%! F = KVRandomPhase (1, 6, KVBegin (4e-3, 633e-9, 16));
%! G = KVIntAttenuator (0.25, F);
%! assert (G(:, 1:16), 0.5 * F(:, 1:16), 1e-15);

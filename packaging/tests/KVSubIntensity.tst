%!test
%! ## The new intensity, the old phase; element (r, c) is row r, column c.
%! F = KVTilt (1e-4, 0, KVBegin (4e-3, 633e-9, 32));
%! I = rand (32);
%! G = KVSubIntensity (I, F);
%! assert (KVIntensity (0, G), I, 1e-12);
%! assert (KVPhase (G), KVPhase (F), 1e-12);
%! assert (KVIntensity (0, KVSubIntensity (uint8 (255 * (I > 0.5)), F)), 255 * (I > 0.5), 1e-9);
%!error G = KVSubIntensity (ones (31), KVBegin (4e-3, 633e-9, 32))

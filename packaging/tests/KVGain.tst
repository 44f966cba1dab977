%!test
%! ## Small signal: exp(gain*L); at I = Isat: exp(gain*L/2).
%! F = KVBegin (4e-3, 633e-9, 16);
%! assert (KVIntensity (0, KVGain (1e6, 0.5, 2, KVIntAttenuator (1e-9, F))), 1e-9 * exp (1) * ones (16), 1e-20);
%! assert (KVIntensity (0, KVGain (1, 0.5, 2, F)), exp (0.5) * ones (16), 1e-12);
%! assert (KVGain (0, 0.5, 2, F), F);

%!test
%! F = KVBegin (8e-3, 633e-9, 128);
%! I = KVIntensity (0, KVSuperGaussScreen (1e-3, 3, 0, 0, 0.1, F));
%! assert (I(65, 65), 0.1, 1e-15);
%! assert (I(1, 1), 1, 1e-12);
%! assert (KVSuperGaussScreen (0, 3, 0, 0, 0.1, F), F);

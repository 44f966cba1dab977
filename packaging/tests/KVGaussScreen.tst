%!test
%! ## Centre transmission T; 1 - (1 - T)/e at r = w.
%! F = KVBegin (8e-3, 633e-9, 256);
%! I = KVIntensity (0, KVGaussScreen (1e-3, 0, 0, 0.2, F));
%! assert (I(129, 129), 0.2, 1e-15);
%! assert (I(161, 129), 1 - 0.8 * exp (-1), 1e-15);

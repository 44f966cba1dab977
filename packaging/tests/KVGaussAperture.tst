%!test
%! ## w is the 1/e intensity radius; R the centre intensity factor.
%! F = KVBegin (8e-3, 633e-9, 256);
%! I = KVIntensity (0, KVGaussAperture (1e-3, 0, 0, 0.5, F));
%! assert (I(129, 129), 0.5, 1e-15);
%! assert (I(129, 161), 0.5 * exp (-1), 1e-15);   # x = 32 * 8e-3/256 = w

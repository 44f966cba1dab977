%!test
%! F = KVGaussAperture (1e-3, 0, 0, 0.5, KVBegin (4e-3, 633e-9, 32));
%! assert (max (max (KVIntensity (0, F))), 0.5, 1e-15);
%! assert (max (max (KVIntensity (1, F))), 1);
%! assert (max (max (KVIntensity (2, F))), 255);
%!error <Zero beam power> I = KVIntensity (1, KVIntAttenuator (0, KVBegin (4e-3, 633e-9, 8)))

%!test
%! F = KVCircAperture (1e-3, 0, 0, KVBegin (5e-3, 633e-9, 128));
%! [G, P] = KVNormal (F);
%! assert (P, KVPower (F), 0);
%! assert (KVPower (G), 1, 1e-12);
%!error <Zero beam power> [G, P] = KVNormal (KVIntAttenuator (0, KVBegin (3e-3, 633e-9, 8)))

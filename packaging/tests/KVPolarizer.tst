%!test
%! ## Malus: light at 30 degrees through a polarizer at 90 keeps sin(30)^2.
%! F = KVBegin (4e-3, 633e-9, 32);
%! a = 30 * pi / 180;
%! G = KVPolarizer (pi / 2, KVIntAttenuator (cos (a)^2, F), KVIntAttenuator (sin (a)^2, F));
%! assert (KVIntensity (0, G), sin (a)^2 * ones (32), 1e-12);

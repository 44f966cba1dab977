%!test
%! ## Malus's law, and the same amplitude along the axis as KVPolarizer.
%! F = KVBegin (1e-3, 1e-6, 16);
%! [Fx, Fy] = KVLinearPolarizer (pi/3, F, KVIntAttenuator (0, F));
%! assert (KVPower (Fx) + KVPower (Fy), cos (pi/3)^2 * KVPower (F), 1e-15);
%! P = KVPolarizer (pi/3, F, KVIntAttenuator (0, F));
%! assert (Fy(:, 1:16), sin (pi/3) * P(:, 1:16), 1e-15);

%!test
%! ## A quarter turn takes x-polarized light to y.
%! F = KVBegin (1e-3, 1e-6, 16);
%! [Fx, Fy] = KVRotator (pi/2, F, KVIntAttenuator (0, F));
%! assert (Fy(:, 1:16), ones (16), 1e-15);
%! assert (Fx(:, 1:16), zeros (16), 1e-15);

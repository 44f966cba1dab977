%!test
%! ## Curvature c becomes the phase of a lens of focal length -1/c.
%! F = KVCircAperture (1e-3, 0, 0, KVBegin (4e-3, 633e-9, 64));
%! S = F; S(4, 65) = 2;
%! G = KVConvert (S);
%! assert (G(4, 65), 0);
%! L = KVLens (-1 / 2, 0, 0, F);
%! assert (G(:, 1:64), L(:, 1:64), 1e-12);
%! assert (KVConvert (G), G);

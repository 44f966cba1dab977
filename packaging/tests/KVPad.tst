%!test
%! ## Padding keeps the spacing and the origin; cropping back restores.
%! F = KVRandomPhase (1, 6, KVCircAperture (1e-3, 0.3e-3, 0, KVBegin (4e-3, 633e-9, 32)));
%! G = KVPad (64, F);
%! assert (size (G), [64 65]);
%! assert (G(1:3, 65).', [8e-3, 633e-9, 64]);
%! assert (G(17:48, 17:48), F(:, 1:32));
%! assert (nnz (G(:, 1:64)) == nnz (F(:, 1:32)));
%! assert (KVPad (32, G), F);
%! [x, y] = KVCoordinates (G);
%! [x0, y0] = KVCoordinates (F);
%! assert (x(17:48, 17:48), x0, 1e-15);

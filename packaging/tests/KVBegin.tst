%!test
%! F = KVBegin (5e-3, 633e-9, 64);
%! assert (size (F), [64 65]);
%! assert (F(:, 1:64), ones (64));
%! assert (F(1:5, 65).', [5e-3, 633e-9, 64, 0, 0]);
%!test
%! ## The origin is the sample in row and column N/2 + 1: a circle drawn
%! ## around it is symmetric about that sample.
%! F = KVCircAperture (1e-3, 0, 0, KVBegin (5e-3, 633e-9, 64));
%! I = KVIntensity (0, F);
%! assert (I(33, 2:end), fliplr (I(33, 2:end)));
%! assert (I(2:end, 33), flipud (I(2:end, 33)));

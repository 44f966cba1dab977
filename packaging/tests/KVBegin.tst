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
%!test
%! ## F(r, c) lies at x = (c - 1 - floor(N/2))*size/N, y = (r - 1 - floor(N/2))*size/N:
%! ## a circle of radius 0 centred on that point keeps that one sample, for
%! ## the even N of KVBegin and the odd N that KVPad can make.
%! for N = [8 9]
%!   F = KVPad (N, KVBegin (1, 633e-9, 8));
%!   F(:, 1:N) = 1;                      # the padded ring too
%!   d = 1 / 8;
%!   for r = 1:N
%!     for c = 1:N
%!       I = KVIntensity (0, KVCircAperture (0, (c - 1 - floor (N/2)) * d, ...
%!                                           (r - 1 - floor (N/2)) * d, F));
%!       [rr, cc] = find (I);
%!       assert ([rr cc], [r c]);
%!     end
%!   end
%!   [x, y] = KVCoordinates (F);
%!   assert (x(1, :), ((0:N-1) - floor (N/2)) * d);
%!   assert (y(:, 1), ((0:N-1).' - floor (N/2)) * d);
%! end

%!demo
%! ## An axicon makes a Bessel-like line focus: the ring pattern behind it.
%! F = KVCircAperture (2e-3, 0, 0, KVBegin (5e-3, 633e-9, 256));
%! G = KVForward (0.4, 1e-3, 128, KVAxicon (179 * pi / 180, 1.5, 0, 0, F));
%! imagesc (KVIntensity (1, G)); axis image off; colormap (hot);
%! title ('axicon, 0.4 m behind');

%!test
%! ## The deflection is the thin-element formula
%! ## asin(n*cos(phi/2) + phi/2 - pi/2); exact refraction at a 10 degree
%! ## base angle (n = 1.5) deflects 3.3 % more.
%! n1 = 1.5; base = 10 * pi / 180; phi = pi - 2 * base; lambda = 633e-9;
%! F = KVAxicon (phi, n1, 0, 0, KVBegin (0.4e-3, lambda, 256));
%! [x, y] = KVCoordinates (F);
%! u = unwrap (angle (F(129, 1:256)));
%! p = polyfit (x(129, 139:229), u(139:229), 1);
%! theta = asin (-p(1) * lambda / (2 * pi));
%! thin = asin (n1 * cos (phi / 2) + phi / 2 - pi / 2);
%! exact = asin (n1 * sin (base)) - base;
%! assert (theta, thin, 2e-3 * thin);
%! assert (thin / exact - 1, -0.033, 5e-4);

%!shared F
%! F = KVBegin (1e-3, 1e-6, 8);

%!error <Input field is not a Korvane field.> G = KVForward (1, 1e-3, 8, complex (ones (8), 1));
%!error <The minimum grid-dimension of a Korvane field is 8> G = KVForward (1, 1e-3, 7.99, F);

%!test
%! % The new grid: M x (M + 1), its header from NewSize, M and the input.
%! P = KVBegin (2e-3, 633e-9, 16);
%! P(4:5, 17) = [0.25; 3.7];
%! G = KVForward (0.5, 4e-3, 9.9, P);
%! assert (size (G), [9 10]);
%! assert (real (G(1:9, 10)), [4e-3; 633e-9; 9; 0.25; 3; 0; 0; 0; 0]);

%!test
%! % On the axis behind a hole of radius a: I = 4 sin^2(pi a^2/(2 lambda z)),
%! % 4 at Fresnel number 1, 0 at 2. KVForward sees the hole that
%! % KVCircAperture draws on its size/N grid stretched by N/(N - 1), so the
%! % radius is taken from the area of the pixels that pass, on KVForward's
%! % size/(N - 1) spacing.
%! N = 320; L = 4e-3; lambda = 1e-6;
%! P = KVCircAperture (1.8e-3, 0, 0, KVBegin (L, lambda, N));
%! a2 = sum (sum (KVIntensity (0, P))) * (L / (N - 1))^2 / pi;
%! for nf = [1 2]
%!   G = KVForward (a2 / (lambda * nf), 1e-4, 9, P);
%!   assert (abs (G(5, 5))^2, 4 * sin (pi * nf / 2)^2, 1e-2);
%! end

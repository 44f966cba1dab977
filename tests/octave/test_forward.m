%!shared F, B
%! F = KVBegin (1e-3, 1e-6, 8);
%! B = ["*****************************************************\n\n\tKorvane for Matlab Optical Toolbox\n\n\tKVForward propagates the field a distance using the direct integration method.\n\n\tUSAGE:\n\tFout = KVForward(z,NewSize,NewNumber,Fin);\n\n\twith:\n\tz    = propagation distance\n\tNewSize = a new grid size\n\tNewNumber = a new grid dimension\n\tFin  = input field\n\tFout = output field\n*****************************************************\n\n"];

%!error <expects four input arguments> G = KVForward (1, 1e-3, 8);
%!error <expects one output argument> [G, H] = KVForward (1, 1e-3, 8, F);
%!error <Input must be real scalar.> G = KVForward (1i, 1e-3, 8, F);
%!error <Input must be real scalar.> G = KVForward (1, 1e-3, [8 8], F);
%!error <Input must be real scalar.> G = KVForward (1, 'a', 8, ones (8));
%!error <Input field is not a Korvane field.> G = KVForward (1, 1e-3, 8, ones (8));
%!error <Input field is not a Korvane field.> G = KVForward (1, 1e-3, 8, complex (ones (8), 1));
%!error <The minimum grid-dimension of a Korvane field is 8> G = KVForward (1, 1e-3, 7.99, F);
%!error <The minimum grid-dimension of a Korvane field is 8> G = KVForward (1, 1e-3, 7, complex (ones (8), 1));
%!error <The minimum grid-dimension of a Korvane field is 8> G = KVForward (1, 1e-3, NaN, F);
%!error <The minimum grid-dimension of a Korvane field is 8> G = KVForward (1, 1e-3, 1e10, F);
%!error <too large> G = KVForward (1, 1e-3, 2^31 - 1, F);

%!test
%! assert (evalc ("KVForward ()"), B);

%!test
%! % The new grid: M x (M + 1), its header from NewSize, M and the input.
%! P = KVBegin (2e-3, 633e-9, 16);
%! P(4:5, 17) = [0.25; 3.7];
%! G = KVForward (0.5, 4e-3, 9.9, P);
%! assert (size (G), [9 10]);
%! assert (real (G(1:9, 10)), [4e-3; 633e-9; 9; 0.25; 3; 0; 0; 0; 0]);
%! assert (imag (G(:, 10)), zeros (9, 1));

%!test
%! % z = 0 on a grid whose points are the input pixel centres: a copy.
%! P = KVBegin (7, 1, 8);
%! P(1:8, 1:8) = complex (magic (8), -magic (8)');
%! G = KVForward (0, 7, 8, P);
%! assert (G(1:8, 1:8), P(1:8, 1:8), 1e-12);

%!test
%! % Backwards, or one NaN sample: every output sample is NaN.
%! assert (all (isnan (KVForward (-1, 1e-3, 8, F)(1:8, 1:8)(:))));
%! P = F;
%! P(3, 5) = NaN;
%! assert (all (isnan (KVForward (1, 1e-3, 8, P)(1:8, 1:8)(:))));

%!test
%! % On the axis behind a hole of radius a: I = 4 sin^2(pi a^2/(2 lambda z)),
%! % 4 at Fresnel number 1, 0 at 2. KVForward sees the hole that
%! % KVCircAperture draws on its size/N grid stretched by N/(N - 1); the
%! % radius is taken from the area of the pixels that pass, on KVForward's
%! % size/(N - 1) spacing. The rest is the staircase rim (see the C++ test):
%! % well under 1e-2.
%! N = 320; L = 4e-3; lambda = 1e-6;
%! P = KVCircAperture (1.8e-3, 0, 0, KVBegin (L, lambda, N));
%! a2 = sum (sum (KVIntensity (0, P))) * (L / (N - 1))^2 / pi;
%! for nf = [1 2]
%!   G = KVForward (a2 / (lambda * nf), 1e-4, 9, P);
%!   assert (abs (G(5, 5))^2, 4 * sin (pi * nf / 2)^2, 1e-2);
%! end

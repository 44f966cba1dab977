%!shared F
%! F = KVBegin (1e-3, 1e-6, 8);

%!error <focal length must be finite and not zero> G = KVFraunhofer (0, 1e-3, 8, F);
%!error <focal length must be finite and not zero> G = KVFraunhofer (Inf, 1e-3, 8, F);
%!error <focal length must be finite and not zero> G = KVFraunhofer (NaN, 1e-3, 8, F);
%!error <expects four or six input arguments> G = KVFraunhofer (1, 1e-3, 8, F, 0);
%!error <minimum grid-dimension> G = KVFraunhofer (1, 1e-3, 7.9, F);
%!error <No spherical coordinates allowed> G = KVFraunhofer (1, 1e-3, 8, KVFocus (1, 0.5, F));
%!error <use KVFraunhofer for the focal plane> G = KVFocus (0.5, 0.5, F);
%!error <focal length must be finite and not zero> G = KVFocus (0, 0.5, F);
%!error <distance must be finite> G = KVFocus (1, NaN, F);
%!error <use KVConvert first, or KVFraunhofer> G = KVFresnelFFT (2, KVFocus (1, -1, F));
%!error <No spherical coordinates allowed. Use KVConvert first> G = KVAngularSpectrum (0.1, KVFocus (1, 0.5, F));
%!test
%! try
%!   G = KVFraunhofer (0, 1e-3, 8, F);
%! catch err
%!   assert (err.identifier, 'Korvane:badValue');
%! end

%!function G = direct_transform (f, L, M, Fin, xs, ys)
%! % The defining sum, term by term.
%! [x, y] = KVCoordinates (Fin);
%! h = KVHeader (Fin);
%! N = h.N; lambda = h.lambda; d = h.size / N;
%! u = ((0:M-1) - floor (M / 2)) * L / M;
%! U = Fin(1:N, 1:N);
%! Ex = exp (-2i * pi * x(1, :)' * (u + xs) / (lambda * f));
%! Ey = exp (-2i * pi * y(:, 1) * (u + ys) / (lambda * f));
%! [uu, vv] = meshgrid (u + xs, u + ys);
%! G = d^2 / (1i * lambda * f) * exp (1i * pi * (uu.^2 + vv.^2) / (lambda * f)) .* (Ey.' * U * Ex);

%!test
%! % Odd and even grids, shifted windows, a virtual focus: the defining sum.
%! rand ("seed", 3);
%! for N = [15 16]
%!   P = KVBegin (2e-3, 633e-9, 16);
%!   P = [complex(rand (N) - 0.3, rand (N)), zeros(N, 1)];
%!   P(1:5, N + 1) = [2e-3; 633e-9; N; 0; 7];
%!   for args = {{0.1, 1e-3, 12, 0, 0}, {-0.05, 4e-4, 9, 1e-4, -3e-5}}
%!     [f, L, M, xs, ys] = args{1}{:};
%!     G = KVFraunhofer (f, L, M, P, xs, ys);
%!     R = direct_transform (f, L, M, P, xs, ys);
%!     assert (size (G), [M, M + 1]);
%!     assert (max (abs (G(:, 1:M)(:) - R(:))) / max (abs (R(:))) < 1e-12);
%!     assert (real (G(1:5, M + 1)), [L; 633e-9; M; 0; 7]);
%!   end
%! end

%!test
%! % With NewSize = lambda*f*N/size and NewNumber = N: the FFT of the samples,
%! % times the same scale and focal-plane phase.
%! rand ("seed", 5);
%! N = 64; L = 3e-3; lambda = 800e-9; f = 0.25;
%! P = KVBegin (L, lambda, N);
%! P(:, 1:N) = complex (rand (N), rand (N) - 0.5);
%! G = KVFraunhofer (f, lambda * f * N / L, N, P);
%! [u, v] = KVCoordinates (G);
%! R = (L / N)^2 / (1i * lambda * f) * exp (1i * pi * (u.^2 + v.^2) / (lambda * f)) ...
%!     .* fftshift (fft2 (ifftshift (P(:, 1:N))));
%! assert (max (abs (G(:, 1:N)(:) - R(:))) / max (abs (R(:))) < 1e-10);

%!test
%! % A negative f is the virtual focus: for real samples, the conjugate.
%! P = KVCircAperture (4e-4, 1e-4, 0, KVBegin (2e-3, 1e-6, 32));
%! G = KVFraunhofer (0.3, 2e-3, 16, P);
%! H = KVFraunhofer (-0.3, 2e-3, 16, P);
%! assert (H(:, 1:16), conj (G(:, 1:16)), 1e-12 * max (abs (G(:))));

%!test
%! % The Airy pattern of a circular aperture of diameter D = size/2: first
%! % zero at 1.2197*lambda*f/D, 83.8 % of the power inside it, peak
%! % intensity (pi*D^2/4)^2/(lambda*f)^2.
%! N = 512; L = 20e-3; D = L / 2; lambda = 633e-9; f = 0.5;
%! P = KVCircAperture (D / 2, 0, 0, KVBegin (L, lambda, N));
%! r0 = 1.2197 * lambda * f / D;
%! M = 160; W = 2.5 * r0;
%! G = KVFraunhofer (f, W, M, P);
%! [u, v] = KVCoordinates (G);
%! % The field on the x axis, with its focal-plane phase and scale removed:
%! % a real profile with a sign change at the zero.
%! a = real (G(M / 2 + 1, 1:M) .* exp (-1i * pi * u(M / 2 + 1, :).^2 / (lambda * f)) * 1i);
%! x = u(M / 2 + 1, :);
%! k = find (x > 0 & a(1:M) .* [a(2:M) 0] < 0, 1);
%! zero = x(k) - a(k) * (x(k + 1) - x(k)) / (a(k + 1) - a(k));
%! assert (abs (zero / r0 - 1) < 3e-3);
%! I = abs (G(:, 1:M)).^2;
%! inside = sum (I((u.^2 + v.^2) < r0^2)) * (W / M)^2;
%! total = sum (sum (abs (P(:, 1:N)).^2)) * (L / N)^2;
%! assert (abs (inside / total - 0.838) < 2e-3);
%! peak = (pi * D^2 / 4)^2 / (lambda * f)^2;
%! assert (abs (I(M / 2 + 1, M / 2 + 1) / peak - 1) < 5e-3);

%!test
%! % Power: a window that holds the whole spectrum at Nyquist spacing keeps it.
%! N = 128; L = 4e-3; lambda = 1e-6; f = 0.2;
%! P = KVGaussAperture (L / 16, 0, 0, 1, KVBegin (L, lambda, N));
%! du = lambda * f / L;
%! G = KVFraunhofer (f, 48 * du, 48, P, du / 3, -du / 5);
%! pin = sum (sum (abs (P(:, 1:N)).^2)) * (L / N)^2;
%! pout = sum (sum (abs (G(:, 1:48)).^2)) * du^2;
%! assert (abs (pout / pin - 1) < 1e-9);

%!function [w2, P] = gauss_width2 (G)
%! % The squared 1/e^2 radius of a beam's intensity, from its second moment
%! % along x.
%! I = KVIntensity (0, G);
%! [x, y] = KVCoordinates (G);
%! P = sum (I(:));
%! xc = sum (I(:) .* x(:)) / P;
%! w2 = 4 * sum (I(:) .* (x(:) - xc).^2) / P;

%!test
%! % A Gaussian beam focused by KVFocus: on both sides of the waist the width
%! % follows the ABCD law; the waist's position and size from a fit of
%! % w^2(z), within 0.2 %.
%! N = 256; L = 8e-3; lambda = 1e-6; w0 = 1e-3; f = 0.1;
%! P = KVGaussAperture (w0 / sqrt (2), 0, 0, 1, KVBegin (L, lambda, N));
%! q1 = 1 / (-1 / f - 1i * lambda / (pi * w0^2));
%! zw = -real (q1); zr = imag (q1); wf = sqrt (lambda * zr / pi);
%! zs = zw + zr * [-4 -3 -2 2 3 4];
%! w2 = zeros (size (zs));
%! for k = 1:numel (zs)
%!   G = KVConvert (KVFocus (f, zs(k), P));
%!   w2(k) = gauss_width2 (G);
%!   w2abcd = -lambda / (pi * imag (1 / (q1 + zs(k))));
%!   assert (abs (sqrt (w2(k) / w2abcd) - 1) < 2e-3);
%! end
%! c = polyfit (zs - zw, w2, 2);
%! zfit = zw - c(2) / (2 * c(1));
%! wfit = sqrt (c(3) - c(2)^2 / (4 * c(1)));
%! assert (abs (zfit - zw) / zr < 2e-3);
%! assert (abs (zfit / zw - 1) < 2e-3);
%! assert (abs (wfit / wf - 1) < 2e-3);

%!test
%! % An off-axis Gaussian beam before and past the focus: KVFocus then
%! % KVConvert against KVLens then KVAngularSpectrum on a grid four times
%! % finer, at the same points, within 1e-3 of the peak.
%! N = 128; L = 4e-3; lambda = 1e-6; w0 = 0.5e-3; f = 0.2;
%! gauss = @(F) KVGaussAperture (w0 / sqrt (2), 2e-4, -1e-4, 1, F);
%! P = gauss (KVBegin (L, lambda, N));
%! Q = gauss (KVBegin (L, lambda, 4 * N));
%! for z = [0.15 0.25]
%!   G = KVConvert (KVFocus (f, z, P));
%!   assert (real (G(1, N + 1)), L * abs (f - z) / f, 1e-15);
%!   R = KVAngularSpectrum (z, KVLens (f, 0, 0, Q));
%!   I = KVIntensity (0, G);
%!   Iref = KVIntensity (0, R)(2 * N - N / 2 + (1:N), 2 * N - N / 2 + (1:N));
%!   assert (max (abs (I(:) - Iref(:))) / max (Iref(:)) < 1e-3);
%! end

%!test
%! % KVFocus chains: a lens then a second one, equal to one lens of the
%! % combined power; an afocal pair gives a plain propagation in normal
%! % coordinates.
%! N = 64; L = 4e-3; lambda = 1e-6;
%! P = KVGaussAperture (4e-4, 0, 0, 1, KVBegin (L, lambda, N));
%! A = KVFocus (0.5, 0, P);
%! assert (real (A(4, N + 1)), -2);
%! B = KVFocus (1, 0.1, A);
%! C = KVFocus (1 / 3, 0.1, P);
%! assert (real (B(1:4, N + 1)), real (C(1:4, N + 1)), 1e-12);
%! assert (B(:, 1:N), C(:, 1:N), 1e-9 * max (abs (C(:))));
%! D = KVFocus (-0.5, 0.2, A);
%! assert (real (D(4, N + 1)), 0);
%! E = KVFresnelFFT (0.2, P);
%! assert (D(:, 1:N), E(:, 1:N), 1e-12);

%!test
%! % KVFresnelFFT in spherical coordinates then KVConvert equals KVConvert
%! % then KVFresnelFFT on the unscaled grid, where that one is well sampled:
%! % a diverging beam taken back to half its size, at the points both grids
%! % share.
%! N = 256; L = 4e-3; lambda = 1e-6; c = 10; z = -0.05;
%! P = KVGaussAperture (3e-4, 0, 0, 1, KVBegin (L, lambda, N));
%! S = P; S(4, N + 1) = c;
%! A = KVConvert (KVFresnelFFT (z, S));
%! assert (real (A(1, N + 1)), L / 2, 1e-15);
%! B = KVFresnelFFT (z, KVConvert (S));
%! a = A(1:2:N, 1:2:N);
%! b = B(N / 4 + (1:N / 2), N / 4 + (1:N / 2));
%! assert (max (abs (a(:) - b(:))) / max (abs (b(:))) < 1e-6);

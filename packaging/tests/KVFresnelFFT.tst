%!demo
%! ## Fresnel diffraction of a square hole by FFT, on a grid padded with
%! ## KVPad so the periodic copies stay away; then back again with -z.
%! F = KVPad (256, KVRectAperture (1.5e-3, 1.5e-3, 0, 0, 0, KVBegin (3e-3, 633e-9, 128)));
%! G = KVFresnelFFT (0.5, F);
%! B = KVFresnelFFT (-0.5, G);
%! subplot (1, 2, 1); imagesc (KVIntensity (1, G)); axis image off; title ('z = 0.5 m');
%! subplot (1, 2, 2); imagesc (KVIntensity (1, B)); axis image off; title ('and back, z = -0.5 m');

%!test
%! ## Forward and back again restores the field; a negative z propagates
%! ## backwards.
%! F = KVPad (128, KVRandomPhase (3, 2, KVCircAperture (1e-3, 0, 0, KVBegin (3e-3, 633e-9, 64))));
%! G = KVFresnelFFT (0.3, F);
%! assert (size (G), size (F));
%! assert (G(1:5, end), F(1:5, end));
%! B = KVFresnelFFT (-0.3, G);
%! assert (B(:, 1:128), F(:, 1:128), 1e-9);
%! assert (KVPower (G), KVPower (F), 1e-9 * KVPower (F));

%!test
%! ## Agrees with KVForward on the same sample positions (N/(N-1) rule:
%! ## KVForward onto NewSize = size*(N-1)/N puts its samples on this grid).
%! N = 128; S = 8e-3;
%! F = KVGaussAperture (0.8e-3, 0, 0, 1, KVBegin (S, 633e-9, N));
%! G = KVFresnelFFT (0.5, F);
%! H = KVForward (0.5, S * (N - 1) / N, N, KVGaussAperture (0.8e-3 * N / (N - 1), 0, 0, 1, KVBegin (S, 633e-9, N)));
%! assert (abs (G(:, 1:N)), abs (H(:, 1:N)), 0.02);

%!demo
%! ## Fresnel diffraction behind a circular hole, at three distances.
%! F = KVCircAperture (1e-3, 0, 0, KVBegin (6e-3, 633e-9, 256));
%! z = [0.2 0.8 1.6];
%! for k = 1:3
%!   subplot (1, 3, k);
%!   imagesc (KVIntensity (1, KVForward (z(k), 4e-3, 128, F)));
%!   axis image off; title (sprintf ('z = %.1f m', z(k)));
%! end
%! colormap (hot);

%!demo
%! ## A lens focuses a plane wave to an Airy pattern (log scale). KVForward
%! ## sees the lens stretched by N/(N-1): the focus is at f*(N/(N-1))^2.
%! N = 256;
%! F = KVLens (1, 0, 0, KVCircAperture (2e-3, 0, 0, KVBegin (6e-3, 633e-9, N)));
%! G = KVForward ((N / (N - 1))^2, 1e-3, 129, F);
%! imagesc (log10 (KVIntensity (1, G) + 1e-4)); axis image off; colorbar;
%! title ('lens focus, log10 of the intensity');

%!test
%! ## Focus of a lens: the first dark ring at 1.22*lambda*z/D.
%! N = 256; lambda = 633e-9; R = 2e-3; s = N / (N - 1);
%! F = KVLens (1, 0, 0, KVCircAperture (R, 0, 0, KVBegin (6e-3, lambda, N)));
%! M = 129; side = 1e-3;
%! G = KVForward (s^2, side, M, F);
%! I = KVIntensity (1, G);
%! c = (M + 1) / 2;
%! assert (I(c, c), 1);
%! row = I(c, c:end);
%! k = find (diff (row) > 0, 1);
%! x = (k - 1) * side / (M - 1);
%! airy = 1.22 * lambda * s^2 / (2 * R * s);
%! assert (x, airy, side / (M - 1));

%!test
%! ## Negative z does not propagate backwards: a field of NaN.
%! G = KVForward (-0.1, 4e-3, 16, KVBegin (4e-3, 633e-9, 16));
%! assert (all (isnan (G(:, 1:16)(:))));
%! assert (G(1:3, 17).', [4e-3, 633e-9, 16]);

%!test
%! ## Power bookkeeping: far from the pixel-edge ringing, the power read by
%! ## KVPower (and KVNormal) is ((M-1)/M * N/(N-1))^2 of the input's.
%! F = KVGaussAperture (1e-3, 0, 0, 1, KVBegin (8e-3, 633e-9, 128));
%! for M = [64 128 256]
%!   G = KVForward (1, 8e-3, M, F);
%!   assert (KVPower (G) / KVPower (F), ((M - 1) / M * 128 / 127)^2, 2e-3);
%! end

%!test
%! ## Each sample is a uniform pixel: a tilted beam keeps sinc^2(q) of its
%! ## power in the main order, q = tilt*(size/N)/lambda; the rest goes to
%! ## ghost orders 1/pixel apart in angle.
%! N = 128; S = 10e-3; lambda = 633e-9; q = 0.25;
%! F = KVGaussAperture (1.5e-3, 0, 0, 1, KVBegin (S, lambda, N));
%! tx = q * lambda * N / S;
%! G = KVForward (1, 48e-3, 384, KVTilt (tx, 0, F));
%! [x, y] = KVCoordinates (G, 'resample');
%! I = KVIntensity (0, G);
%! main = sum (I(abs (x + tx * (N - 1) / N) < 4e-3)) * (48e-3 / 384)^2;
%! ref = KVPower (F) * (383 / 384 * N / (N - 1))^2;
%! assert (main / ref, (sin (pi * q) / (pi * q))^2, 2e-3);

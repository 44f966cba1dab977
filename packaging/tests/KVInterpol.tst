%!demo
%! ## A rectangle resampled: shifted, turned 30 degrees and magnified 1.5 times.
%! F = KVRectAperture (2e-3, 1e-3, 0, 0, 0, KVBegin (5e-3, 633e-9, 128));
%! G = KVInterpol (5e-3, 128, 1e-3, 0, 30, 1.5, F);
%! subplot (1, 2, 1); imagesc (KVIntensity (0, F)); axis image off; title ('input');
%! subplot (1, 2, 2); imagesc (KVIntensity (0, G)); axis image off; title ('KVInterpol');

%!test
%! ## angle is in degrees, from x toward y: a spot on +x goes to +y at 90.
%! F = KVCircAperture (0.3e-3, 1e-3, 0, KVBegin (4e-3, 633e-9, 64));
%! G = KVInterpol (4e-3, 64, 0, 0, 90, 1, F);
%! [x, y] = KVCoordinates (G, 'resample');
%! I = KVIntensity (0, G);
%! assert (sum (I(:) .* x(:)) / sum (I(:)), 0, 1e-9);
%! assert (sum (I(:) .* y(:)) / sum (I(:)), 1e-3 * 64 / 63, 2e-5);

%!test
%! ## The same grid copies the interior and zeroes the border.
%! F = KVRandomPhase (3, 6, KVBegin (4e-3, 633e-9, 32));
%! G = KVInterpol (4e-3, 32, 0, 0, 0, 1, F);
%! assert (G(2:31, 2:31), F(2:31, 2:31), 1e-12);
%! assert (G([1 32], 1:32), zeros (2, 32));

%!test
%! ## Power bookkeeping onto M samples: ((M-1)/M * N/(N-1))^2.
%! F = KVGaussAperture (1e-3, 0, 0, 1, KVBegin (8e-3, 633e-9, 128));
%! G = KVInterpol (8e-3, 64, 0, 0, 0, 1, F);
%! assert (KVPower (G) / KVPower (F), (63 / 64 * 128 / 127)^2, 1e-4);

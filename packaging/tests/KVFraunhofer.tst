%!demo
%! ## The focal spot of an f/2 lens, 20 samples across its Airy disc.
%! F = KVBegin (12e-3, 633e-9, 512);
%! F = KVCircAperture (5e-3, 0, 0, F);
%! f = 20e-3; d = 2.44 * 633e-9 * f / 10e-3;
%! G = KVFraunhofer (f, 2 * d, 40, F);
%! imagesc (KVIntensity (0, G)); axis image; title ('Airy disc, 20 samples across');

%!test
%! ## The peak: the aperture's area over lambda*f, squared; the header.
%! F = KVBegin (4e-3, 1e-6, 64);
%! F = KVCircAperture (1e-3, 0, 0, F);
%! G = KVFraunhofer (0.5, 1e-3, 16, F);
%! A = sum (sum (abs (F(:, 1:64)).^2)) * (4e-3 / 64)^2;
%! assert (abs (G(9, 9))^2, (A / (1e-6 * 0.5))^2, 1e-9 * (A / 5e-7)^2);
%! assert (real (G(1:5, 17)), [1e-3; 1e-6; 16; 0; 0]);
%!error <focal length must be finite and not zero> G = KVFraunhofer (0, 1e-3, 16, KVBegin (4e-3, 1e-6, 64));

%!test
%! ## n = 1 is the Gaussian aperture; a large n approaches a hard circle.
%! F = KVBegin (8e-3, 633e-9, 128);
%! A = KVSuperGaussAperture (1e-3, 1, 0.5e-3, 0, 0.7, F);
%! B = KVGaussAperture (1e-3, 0.5e-3, 0, 0.7, F);
%! assert (KVIntensity (0, A), KVIntensity (0, B), 1e-14);
%! C = KVIntensity (0, KVSuperGaussAperture (2e-3, 30, 0, 0, 1, F));
%! D = KVIntensity (0, KVCircAperture (2e-3, 0, 0, F));
%! assert (mean (abs (C(:) - D(:))) < 0.01);

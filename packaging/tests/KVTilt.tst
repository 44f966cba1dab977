%!demo
%! ## A positive tx steers the beam toward -x: the spot 1 m behind a tilt of
%! ## 1 mrad, against the untilted beam.
%! F = KVGaussAperture (1e-3, 0, 0, 1, KVBegin (10e-3, 633e-9, 128));
%! subplot (1, 2, 1); imagesc (KVIntensity (0, KVForward (1, 10e-3, 128, F))); axis image; title ('tx = 0');
%! subplot (1, 2, 2); imagesc (KVIntensity (0, KVForward (1, 10e-3, 128, KVTilt (1e-3, 0, F)))); axis image; title ('tx = 1 mrad');

%!test
%! ## Positive tx moves the beam toward -x, positive ty toward -y, by the
%! ## angle times z (radians).
%! F = KVGaussAperture (1e-3, 0, 0, 1, KVBegin (10e-3, 633e-9, 128));
%! for t = [1e-3 0; 0 1e-3; -1e-3 0].'
%!   G = KVForward (1, 10e-3, 128, KVTilt (t(1), t(2), F));
%!   [x, y] = KVCoordinates (G, 'resample');
%!   I = KVIntensity (0, G);
%!   c = [sum(I(:) .* x(:)), sum(I(:) .* y(:))] / sum (I(:));
%!   assert (c, -t.' * 127 / 128, 2e-5);
%! end

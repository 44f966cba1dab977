%!demo
%! ## Two beams tilted against each other interfere: straight fringes.
%! F = KVGaussAperture (2e-3, 0, 0, 1, KVBegin (5e-3, 633e-9, 256));
%! G = KVBeamMix (KVTilt (2e-4, 0, F), KVTilt (-2e-4, 0, F));
%! imagesc (KVIntensity (1, G)); axis image off; colormap (gray);
%! title ('KVBeamMix of two tilted beams');

%!test
%! F = KVRandomPhase (1, 6, KVBegin (4e-3, 633e-9, 32));
%! G = KVTilt (1e-4, 0, KVBegin (4e-3, 633e-9, 32));
%! M = KVBeamMix (F, G);
%! assert (M(:, 1:32), F(:, 1:32) + G(:, 1:32));
%!error G = KVBeamMix (KVBegin (4e-3, 633e-9, 32), KVBegin (5e-3, 633e-9, 32))

%!demo
%! ## A lens of f = 1 m: the wrapped phase, and the beam along z to the focus.
%! N = 128;
%! F = KVLens (1, 0, 0, KVCircAperture (2e-3, 0, 0, KVBegin (6e-3, 633e-9, N)));
%! subplot (1, 2, 1); imagesc (KVPhase (F)); axis image off; title ('phase');
%! z = linspace (0.2, 1.2, 41);
%! cut = zeros (64, numel (z));
%! for k = 1:numel (z)
%!   G = KVForward (z(k), 4e-3, 64, F);
%!   cut(:, k) = KVIntensity (0, G)(:, 33);
%! end
%! subplot (1, 2, 2); imagesc (z, [-2 2], cut); xlabel ('z (m)'); ylabel ('y (mm)');
%! title ('intensity along z');

%!test
%! ## phi = -k*r^2/(2f) at the sample coordinates; the centre keeps its value.
%! F = KVBegin (4e-3, 633e-9, 64);
%! G = KVLens (2, 0.5e-3, 0, F);
%! [x, y] = KVCoordinates (F);
%! phi = -(6.2831852 / 633e-9) * ((x - 0.5e-3).^2 + y.^2) / (2 * 2);
%! assert (G(:, 1:64), exp (1i * phi), 1e-9);
%! assert (abs (G(:, 1:64)), ones (64), 1e-15);

%!error <spherical|curvature|coordinates> G = KVLens (1, 0, 0, [KVBegin(1e-3, 633e-9, 8)(:, 1:8), [1e-3; 633e-9; 8; 1; 0; 0; 0; 0]])

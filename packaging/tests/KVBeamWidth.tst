%!test
%! ## A Gaussian beam exp(-r^2/w^2): D4sigma diameter 2*w, at its centre.
%! F = KVGaussHermite (0, 0, 1, 1e-3, KVBegin (16e-3, 1e-6, 256));
%! [xc, yc, dx, dy, phi] = KVBeamWidth (F);
%! assert ([xc, yc, dx, dy, phi], [0, 0, 2e-3, 2e-3, 0], 1e-12);
%! [~, ~, dx] = KVBeamWidth (KVIntensity (1, F), F);
%! assert (dx, 2e-3, 1e-12);

%!error <Zero beam power> x = KVBeamWidth (KVIntAttenuator (0, KVBegin (1, 1, 8)))

%!shared N, L, w, F, xg, yg
%! N = 256; L = 16e-3; w = 1e-3;
%! F = KVBegin (L, 1e-6, N);
%! [xg, yg] = meshgrid (((0:N-1) - N/2) * L / N);

%!function G = with_samples (F, Z)
%!  G = F; G(:, 1:rows (F)) = Z;
%!endfunction

%!function [M2, d0, z0] = caustic (F, z)
%!  % The ISO 11146 way: D4sigma diameters in planes z, a hyperbola
%!  % d^2 = a + b*z + c*z^2 fitted by least squares.
%!  d = zeros (numel (z), 2);
%!  for k = 1:numel (z)
%!    [~, ~, d(k, 1), d(k, 2)] = KVBeamWidth (KVFresnelFFT (z(k), F));
%!  endfor
%!  A = [ones(numel (z), 1), z(:), z(:).^2];
%!  for a = 1:2
%!    p = A \ d(:, a).^2;
%!    M2(a) = pi / (8 * 1e-6) * sqrt (4 * p(1) * p(3) - p(2)^2);
%!    z0(a) = -p(2) / (2 * p(3));
%!    d0(a) = sqrt (p(1) - p(2)^2 / (4 * p(3)));
%!  endfor
%!endfunction

%!test
%! % Gaussian: centroid, D4sigma = 2w; shifted, the centroid follows; the
%! % intensity array gives the field's figures.
%! G = KVGaussHermite (0, 0, 1, w, F);
%! [xc, yc, dx, dy, phi] = KVBeamWidth (G);
%! assert ([xc, yc], [0 0], 1e-18);
%! assert ([dx, dy], [2 * w, 2 * w], 1e-12 * w);
%! assert (phi, 0);
%! S = KVGaussAperture (w, 2e-3, -1e-3, 1, F);   % intensity exp(-r^2/w^2)
%! [xc, yc, dx, dy] = KVBeamWidth (S);
%! assert ([xc, yc, dx, dy], [2e-3, -1e-3, 2 * sqrt(2) * w, 2 * sqrt(2) * w], 1e-12 * w);
%! [a, b, c, d, e] = KVBeamWidth (KVIntensity (0, S), S);
%! assert ([a, b, c, d, e], [xc, yc, dx, dy, 0], 1e-15 * w);
%! assert (KVBeamWidth (uint8 (KVIntensity (2, G)), G), 0, 2 * L / N);

%!test
%! % An elliptical Gaussian turned by t: D4sigma diameters 2*a and 2*b on
%! % the principal axes, phi = t folded into (-pi/4, pi/4] with the axes
%! % swapped when the long axis is nearer y.
%! a = 1.2e-3; b = 0.6e-3;
%! for t = [0.3, -0.6, 1.0, -1.3, pi/4, -pi/4]
%!   u = xg * cos (t) + yg * sin (t); v = -xg * sin (t) + yg * cos (t);
%!   I = exp (-2 * (u.^2 / a^2 + v.^2 / b^2));
%!   [~, ~, dx, dy, phi] = KVBeamWidth (I, F);
%!   if (t == -pi/4)   % the diagonals: the axis at +pi/4 is the x-like one
%!     assert ([dx, dy, phi], [2 * b, 2 * a, pi/4], [1e-12 * a, 1e-12 * a, 1e-12]);
%!   elseif (abs (t) <= pi/4)
%!     assert ([dx, dy, phi], [2 * a, 2 * b, t], [1e-12 * a, 1e-12 * a, 1e-12]);
%!   else
%!     assert ([dx, dy, phi], [2 * b, 2 * a, t - sign(t) * pi/2], [1e-12 * a, 1e-12 * a, 1e-12]);
%!   endif
%! endfor

%!test
%! % Gauss-Hermite modes: M^2 = 2m + 1 along x, 2n + 1 along y; waist radius
%! % w*sqrt(M^2) in this plane, the waist.
%! for mn = [0 0; 1 0; 0 2; 3 1; 2 4].'
%!   m = mn(1); n = mn(2);
%!   G = KVGaussHermite (n, m, 1, w, F);
%!   [M2x, M2y, w0x, w0y, z0x, z0y] = KVBeamQuality (G);
%!   assert ([M2x, M2y], [2 * m + 1, 2 * n + 1], 1e-4);
%!   assert ([w0x, w0y], w * sqrt ([2 * m + 1, 2 * n + 1]), 1e-6 * w);
%!   assert ([z0x, z0y], [0 0], 1e-9);
%! endfor
%! % An odd grid (KVPad): its spectrum has no Nyquist bin.
%! G = KVLens (3, 0, 0, KVGaussHermite (1, 2, 1, w, KVPad (255, F)));
%! [M2x, M2y, ~, ~, z0x] = KVBeamQuality (G);
%! assert ([M2x, M2y, z0x], [5, 3, 3 / (1 + (3 / (pi * w^2 / 1e-6))^2)], 1e-8);

%!test
%! % A Gaussian through a lens: M^2 stays 1, the waist lies where the ABCD
%! % law puts it and has its radius (a negative lens: behind the plane).
%! zR = pi * w^2 / 1e-6;
%! for f = [2, -1.5]
%!   G = KVLens (f, 0, 0, KVGaussHermite (0, 0, 1, w, F));
%!   [M2x, M2y, w0x, w0y, z0x, z0y] = KVBeamQuality (G);
%!   z0 = f / (1 + (f / zR)^2);
%!   w0 = w / sqrt (1 + (zR / f)^2);
%!   assert ([M2x, M2y], [1 1], 1e-6);
%!   assert ([z0x, z0y], [z0 z0], 1e-3 * abs (z0));
%!   assert ([w0x, w0y], [w0 w0], 1e-3 * w0);
%! endfor

%!test
%! % A doughnut HG10 + 1i*HG01 carries orbital angular momentum: M^2 = 2 on
%! % both axes, as for the same modes mixed without the phase.
%! A = KVGaussHermite (0, 1, 1, w, F);
%! B = KVGaussHermite (1, 0, 1, w, F);
%! [M2x, M2y] = KVBeamQuality (with_samples (A, A(:, 1:N) + 1i * B(:, 1:N)));
%! assert ([M2x, M2y], [2 2], 1e-4);
%! % HG10 + HG01 is HG10 turned to the diagonal: M^2 = 3 along +45 degrees.
%! H = with_samples (A, A(:, 1:N) + B(:, 1:N));
%! [M2x, M2y] = KVBeamQuality (H);
%! assert ([M2x, M2y], [3 1], 1e-4);
%! [~, ~, dx, dy, phi] = KVBeamWidth (H);
%! assert ([dx / dy, phi], [sqrt(3), pi/4], 1e-12);

%!test
%! % A Gaussian clipped by a soft (super-Gaussian) aperture, off centre,
%! % diverging: M^2, waist and its position from the field agree with the
%! % ISO caustic fit over 13 planes through the waist, all within the
%! % distance N*d^2/lambda up to which KVFresnelFFT uses its exact transfer
%! % function (beyond it, its sampled impulse response widens the beam).
%! G = KVGaussHermite (0, 0, 1, 0.5e-3, F);
%! G = KVSuperGaussAperture (0.45e-3, 4, 1e-4, 0, 1, G);
%! G = KVLens (-2, 0, 0, G);
%! [M2x, M2y, w0x, w0y, z0x, z0y] = KVBeamQuality (G);
%! assert (M2x > 1.1 && M2y > 1.1 && z0x < 0 && z0y < 0);
%! zr = pi * w0x^2 / (1e-6 * M2x);
%! z = z0x + linspace (-2.5 * zr, 2.5 * zr, 13);
%! assert (max (abs (z)) < N * (L / N)^2 / 1e-6);
%! [M2, d0, zf] = caustic (G, z);
%! assert (M2, [M2x, M2y], 1e-4 * M2x);
%! assert (d0 / 2, [w0x, w0y], 1e-4 * w0x);
%! assert (zf, [z0x, z0y], 1e-4 * zr);

%!test
%! % Behind a hard edge the far field's second moment diverges: M^2 grows
%! % with the sampling of the same grid.
%! M2 = zeros (1, 3);
%! for k = 1:3
%!   n = 64 * 2^k;
%!   M2(k) = KVBeamQuality (KVCircAperture (1e-3, 0, 0, KVBegin (8e-3, 1e-6, n)));
%! endfor
%! assert (all (diff (M2) > 0.1 * M2(1)));

%!error <KVBeamWidth: Zero beam power.> x = KVBeamWidth (KVIntAttenuator (0, KVBegin (1, 1, 8)))
%!error <KVBeamQuality: Zero beam power.> x = KVBeamQuality (KVIntAttenuator (0, KVBegin (1, 1, 8)))
%!error <KVBeamWidth: Input intensity array must not be negative.> x = KVBeamWidth (-eye (8), KVBegin (1, 1, 8))
%!error <KVBeamWidth: The intensity must be finite.> x = KVBeamWidth ([NaN, zeros(1, 7); zeros(7, 8)], KVBegin (1, 1, 8))
%!error <KVBeamWidth: Input intensity array must have real elements.> x = KVBeamWidth (1i * eye (8), KVBegin (1, 1, 8))
%!error <expects one to six output arguments> [a, b, c, d, e, f, g] = KVBeamQuality (KVBegin (1, 1, 8))
%!error <expects one or two input arguments> x = KVBeamWidth (1, 2, KVBegin (1, 1, 8))
%!test
%! % A size of 0, a non-finite sample: refused, not NaN.
%! G = KVBegin (1, 1, 8); G(3, 3) = Inf;
%! for H = {KVBegin(0, 1, 8), G}
%!   e = [];
%!   try, x = KVBeamQuality (H{1}); catch e, end_try_catch
%!   assert (e.identifier, 'Korvane:badValue');
%! endfor

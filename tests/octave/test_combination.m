%!shared N, F
%! N = 32;
%! F = KVBegin (2e-3, 1e-6, N);

%!test
%! % Two beams tilted against each other give cos^2 fringes along x.
%! G = KVBeamMix (KVTilt (1e-4, 0, F), KVTilt (-1e-4, 0, F));
%! I = KVIntensity (0, G);
%! d = 2e-3 / N;
%! x = ((0:N-1) - N/2) * d;
%! assert (I, repmat (4 * cos (6.283185308 / 1e-6 * 1e-4 * x).^2, N, 1), 1e-9);
%! assert (G(1:5, N + 1).', [2e-3 1e-6 N 0 0]);

%!test
%! % The mean wavelength; the first field's aux_int (truncated).
%! A = F; A(1:2, N + 1) = [2e-3; 500e-9]; A(5, N + 1) = 3.7;
%! B = F; B(1:2, N + 1) = [2e-3; 600e-9]; B(5, N + 1) = 9;
%! G = KVBeamMix (A, B);
%! assert (G(2, N + 1), (500e-9 + 600e-9) * 0.5);
%! assert (G(5, N + 1), 3);
%! assert (G(1:N, 1:N), 2 * F(1:N, 1:N));

%!error <Input field 2 is not a Korvane field.> X = KVBeamMix (KVBegin (1, 1, 8), ones (8, 8))
%!error <Unequal grid dimensions.> X = KVBeamMix (KVBegin (1, 1, 8), KVBegin (1, 1, 16))
%!error <unequal grid sizes> X = KVBeamMix (KVBegin (1, 1, 8), KVBegin (1 + eps, 1, 8))
%!error <Input fields must have equal wave lengths.> X = KVPolarizer (0, KVBegin (1, 1, 8), KVBegin (1, 2, 8))
%!error <expects four input argument$> X = KVGain (1, 2, KVBegin (1, 1, 8))

%!test
%! % Light polarized at 30 degrees through polarizers at 0 and 90 degrees.
%! Fx = KVIntAttenuator (cos (pi/6)^2, F);
%! Fy = KVIntAttenuator (sin (pi/6)^2, F);
%! assert (KVIntensity (0, KVPolarizer (0, Fx, Fy)), 0.75 * ones (N), 1e-15);
%! assert (KVIntensity (0, KVPolarizer (pi/2, Fx, Fy)), 0.25 * ones (N), 1e-15);

%!test
%! % Gain: a weak beam gains exp(gain*L) in intensity, one at Isat
%! % exp(gain*L/2); with Isat = 0 nothing changes. L may be any array.
%! weak = KVIntAttenuator (1e-12, F);
%! G = KVGain (1, log (4), 1, weak);
%! assert (KVIntensity (0, G), 4e-12 * ones (N), 1e-20);
%! G = KVGain (1, log (4), 1, F);
%! assert (KVIntensity (0, G), 2 * ones (N), 1e-12);
%! assert (KVGain (0, 5, 5, F), F);
%! assert (KVGain (1, log (4), [1 7 7], F), G);

%!test
%! % Normalization: two results, the power before scaling.
%! [G, P] = KVNormal (KVBegin (2, 1e-6, 8));
%! assert (P, 4);
%! assert (G(1:8, 1:8), 0.5 * ones (8));
%! assert (KVStrehl (G), 1);

%!error <expects two output arguments.> G = KVNormal (F)
%!error <Zero beam power> X = KVStrehl (KVIntAttenuator (0, F))

function P = KVPower(Fin)
% KVPower  The power of a field: the sum of its intensity times the sample area.
%
%   P = KVPower(Fin)
%
%   Fin  a field (N x (N+1) array)
%   P    sum(|F|^2) * (size/N)^2 over the N x N samples, in the unit of
%        size squared times the unit of intensity
%
%   P is the number KVNormal returns as its second output, bit for bit in
%   Octave: the terms are formed and summed in the same order (MATLAB's sum
%   may group them differently, which changes the last bits). Unlike
%   KVNormal, KVPower takes a field of zero power (and returns 0) and needs
%   one output.
%
%   After KVForward or KVInterpol onto M samples, a field of N samples
%   reads ((M-1)/M * N/(N-1))^2 times its power here, though the
%   resampling kept it: those two commands space the samples by
%   size/(N - 1), this sum by size/N (see the grid rules).
%
%   Example:
%     F = KVCircAperture(1e-3, 0, 0, KVBegin(5e-3, 633e-9, 256));
%     P = KVPower(F)         % about pi*(1e-3)^2
%
%   See also KVNormal, KVIntensity, KVHeader.
  if (nargin ~= 1)
    error('Korvane:usage', '%s: wrong number of arguments', mfilename());
  end
  h = KVHeader (Fin);
  n = h.N;
  d = h.size / n;
  a = d * d;
  z = double (Fin(:, 1:n));
  re = real (z);
  im = imag (z);
  t = (im .* im + re .* re) * a;
  P = sum (t(:));
end

%!test
%! ## The same number as KVNormal's, bit for bit, for a real and a complex field.
%! F = KVBegin (5e-3, 633e-9, 64);
%! F = KVGaussAperture (1e-3, 0.2e-3, 0, 1, F);
%! [~, P] = KVNormal (F);
%! assert (KVPower (F), P, 0);
%! G = KVRandomPhase (7, 2, KVLens (0.5, 0, 0, F));
%! [~, Q] = KVNormal (G);
%! assert (KVPower (G), Q, 0);
%! assert (Q, P, 1e-12 * P);

%!test
%! ## A circular aperture passes about its area.
%! F = KVCircAperture (1e-3, 0, 0, KVBegin (5e-3, 633e-9, 256));
%! assert (KVPower (F), pi * 1e-6, 0.01 * pi * 1e-6);

%!test
%! ## Zero power is a number here; KVNormal refuses it.
%! F = KVCircAperture (0, 0, 0, KVBegin (5e-3, 633e-9, 16));
%! assert (KVPower (KVIntAttenuator (0, F)), 0);

%!error <must be a field> KVPower (1)

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
%   Octave: the terms are formed the same way and summed over the same
%   fixed blocks, each block in order and then the blocks in order (MATLAB's
%   sum may group the terms of a block differently, which changes the last
%   bits). Unlike KVNormal, KVPower takes a field of zero power (and returns
%   0) and needs one output.
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
  % The blocks of the commands' sums (src/core/parallel.h): the count cut
  % into min(256, max(1, floor(count/4096))) blocks whose sizes differ by at
  % most one, the larger ones first.
  count = n * n;
  blocks = min (256, max (1, floor (count / 4096)));
  q = floor (count / blocks);
  r = count - q * blocks;
  first = (0:blocks) * q + min (0:blocks, r);
  P = 0;
  for b = 1:blocks
    P = P + sum (t(first(b) + 1:first(b + 1)));
  end
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
%! ## Over more than one block of the sums too.
%! H = KVRandomPhase (3, 2, KVGaussAperture (1e-3, 0, 0, 1, KVBegin (5e-3, 633e-9, 300)));
%! [~, R] = KVNormal (H);
%! assert (KVPower (H), R, 0);

%!test
%! ## A circular aperture passes about its area.
%! F = KVCircAperture (1e-3, 0, 0, KVBegin (5e-3, 633e-9, 256));
%! assert (KVPower (F), pi * 1e-6, 0.01 * pi * 1e-6);

%!test
%! ## Zero power is a number here; KVNormal refuses it.
%! F = KVCircAperture (0, 0, 0, KVBegin (5e-3, 633e-9, 16));
%! assert (KVPower (KVIntAttenuator (0, F)), 0);

%!error <must be a field> KVPower (1)

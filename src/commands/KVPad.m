function varargout = KVPad(varargin)
% KVPad  Embed the field in a larger grid of the same spacing, or crop it.
%
%   Fout = KVPad(NewNumber, Fin)
%
%   NewNumber  dimension of the new grid, truncated to an integer M of at
%              least 8
%   Fin        input field, in normal coordinates (curvature 0)
%   Fout       the M x M field: same spacing size/N as Fin, so its size is
%              size*M/N; lambda and curvature are those of Fin
%
%   The sample at the origin stays at the origin: Fin(r, c) moves to
%   Fout(r - floor(N/2) + floor(M/2), c - floor(N/2) + floor(M/2)).
%   With M > N the new samples around the field are zero; with M < N the
%   samples outside the new grid are dropped. Values are copied unchanged,
%   so padding and cropping back returns Fin bit for bit, and padding keeps
%   the power exactly.
%
%   Use it around KVFresnelFFT and KVAngularSpectrum, whose FFTs make the
%   field periodic: with M = 2*N the light that spreads beyond the beam's
%   grid no longer comes back from the other side.
%
%   Example:
%     F = KVBegin(2e-3, 633e-9, 128);
%     F = KVGaussAperture(0.3e-3, 0, 0, 1, F);
%     F = KVPad(256, F);                   % 4 mm, same 15.6 um spacing
%     F = KVFresnelFFT(2, F);
%     F = KVPad(128, F);                   % back to the 2 mm window
%
%   See also KVFresnelFFT, KVAngularSpectrum, KVInterpol, KVBegin.
error('Korvane:notCompiled', 'KVPad is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end

function varargout = KVLens(varargin)
% KVLens  Pass the field through an ideal thin lens.
%
%   Fout = KVLens(f, x_shift, y_shift, Fin)
%
%   f                 focal length; positive converges, negative diverges
%   x_shift, y_shift  position of the lens centre on the grid
%   Fin               input field, in normal coordinates (curvature 0)
%   Fout              output field, same grid as Fin
%
%   Each sample is multiplied by exp(i*phi) with
%     phi = -(k*((x - x_shift)^2 + (y - y_shift)^2))/(2*f),  k = 6.2831852/lambda,
%   F(r, c) at x = (c - 1 - N/2)*size/N, y = (r - 1 - N/2)*size/N (floor(N/2)
%   for an odd N). The amplitude is unchanged;
%   the sample at the lens centre keeps its value. f = 0 gives NaN samples
%   without an error. y_shift is taken as given: of an array its first
%   element is used. A field in spherical coordinates (non-zero curvature)
%   is refused: convert it with KVConvert first.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 128);
%     F = KVCircAperture(2e-3, 0, 0, F);
%     F = KVLens(1, 0, 0, F);
%     F = KVForward(1, 0.5e-3, 64, F);   % near the focus
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVConvert, KVForward, KVTilt, KVAxicon.

error('Korvane:notCompiled', ['KVLens is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

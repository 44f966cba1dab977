function varargout = KVConvert(varargin)
% KVConvert  Convert a field from spherical to normal coordinates.
%
%   Fout = KVConvert(Fin)
%
%   Fin   input field; its header curvature c marks spherical coordinates
%         when it is not 0
%   Fout  the same field in normal coordinates: curvature 0, same grid
%
%   The spherical phase front that c stands for is multiplied into the
%   samples by the thin lens of KVLens with f = -1/c on the axis:
%     phi = (6.2831852/lambda)*c*(x^2 + y^2)/2
%   with F(r, c) at x = (c - 1 - N/2)*size/N, y = (r - 1 - N/2)*size/N.
%   A field with curvature 0 comes back unchanged, so converting twice is the
%   same as converting once. A NaN curvature gives NaN samples. Commands that
%   refuse spherical coordinates (KVLens, KVAxicon, KVBeamMix, KVPolarizer)
%   expect this first.
%
%   Example:
%     G = KVConvert(F);
%     G = KVLens(0.5, 0, 0, G);
%
%   See also KVLens, KVForward.

error('Korvane:notCompiled', ['KVConvert is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

function varargout = KVRectScreen(varargin)
% KVRectScreen  Zero the field inside a rotated rectangle, pass it outside.
%
%   Fout = KVRectScreen(w, h, x_shift, y_shift, Phi, Fin)
%
%   w, h              full width and height of the screen
%   x_shift, y_shift  position of the centre of the screen
%   Phi               rotation angle in degrees, about the centre
%   Fin               input field
%   Fout              output field, same grid as Fin
%
%   Only samples strictly inside the rectangle are blocked: a sample exactly
%   on an edge passes, as it does through KVRectAperture.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVRectScreen(1e-3, 3e-3, 0, 0, 45, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVRectAperture, KVCircScreen, KVGaussScreen.

error('Korvane:notCompiled', ['KVRectScreen is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

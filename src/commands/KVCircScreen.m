function varargout = KVCircScreen(varargin)
% KVCircScreen  Zero the field inside a circle, pass it outside.
%
%   Fout = KVCircScreen(R, x_shift, y_shift, Fin)
%
%   R                 radius of the screen (only R^2 is used)
%   x_shift, y_shift  position of the centre of the screen
%   Fin               input field
%   Fout              output field, same grid as Fin
%
%   The exact complement of KVCircAperture: a sample exactly on the circle
%   is blocked here and passed there. Blocked samples become exactly 0.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVCircScreen(0.5e-3, 1e-3, 0, F);   % a disc 1 mm right of centre
%
%   See also KVCircAperture, KVRectScreen, KVGaussScreen.

error('Korvane:notCompiled', ['KVCircScreen is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

function varargout = KVSubPhase(varargin)
% KVSubPhase  Replace the phase of the field, keeping its amplitude.
%
%   Fout = KVSubPhase(Phase, Fin)
%
%   Phase  N x N array of new phases, in radians
%   Fin   input field of dimension N
%   Fout  output field, same grid as Fin
%
%   Each sample becomes |Fin|*exp(i*Phase). A zero sample stays 0.
%
%   The array lines up with the field: element (r, c) acts on the sample in
%   row r, column c of the field (y along the rows, x along the columns).
%   It must have exactly N rows and N columns. Any numeric or logical array
%   is accepted (an 8-bit image from imread, a logical mask, single,
%   integer or sparse) and used as doubles; only real parts are used.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     [x, y] = meshgrid(-128:127);
%     F = KVSubPhase(atan2(y, x), F);   % a vortex of charge 1
%     imagesc(KVPhase(F)); axis image
%
%   See also KVSubIntensity, KVMultPhase, KVPhase.

error('Korvane:notCompiled', ['KVSubPhase is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

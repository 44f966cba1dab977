function varargout = KVMultPhase(varargin)
% KVMultPhase  Add an array of phase shifts to the phase of the field.
%
%   Fout = KVMultPhase(Phase, Fin)
%
%   Phase  N x N array of phase shifts, in radians
%   Fin   input field of dimension N
%   Fout  output field, same grid as Fin
%
%   Each sample is multiplied by exp(i*Phase); the amplitude is kept.
%
%   The array lines up with the field: element (r, c) acts on the sample in
%   row r, column c of the field (y along the rows, x along the columns).
%   It must have exactly N rows and N columns. Any numeric or logical array
%   is accepted (an 8-bit image from imread, a logical mask, single,
%   integer or sparse) and used as doubles; only real parts are used.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVMultPhase(pi * (rand(256) > 0.5), F);   % a binary phase plate
%     imagesc(KVPhase(F)); axis image
%
%   See also KVMultIntensity, KVSubPhase, KVRandomPhase.

error('Korvane:notCompiled', ['KVMultPhase is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

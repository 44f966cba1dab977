function varargout = KVMultIntensity(varargin)
% KVMultIntensity  Multiply the intensity of the field by an array.
%
%   Fout = KVMultIntensity(Intens, Fin)
%
%   Intens  N x N array of intensity transmission factors
%   Fin   input field of dimension N
%   Fout  output field, same grid as Fin
%
%   Each sample is multiplied by sqrt(Intens): 1 leaves it unchanged, 0.25
%   halves its amplitude, 0 blocks it. The phase is kept. A negative factor
%   gives NaN.
%
%   The array lines up with the field: element (r, c) acts on the sample in
%   row r, column c of the field (y along the rows, x along the columns).
%   It must have exactly N rows and N columns. Any numeric or logical array
%   is accepted (an 8-bit image from imread, a logical mask, single,
%   integer or sparse) and used as doubles; only real parts are used.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     [x, y] = meshgrid(0:255);
%     T = mod(floor(x/32) + floor(y/32), 2);   % a chequerboard mask
%     F = KVMultIntensity(T, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVMultPhase, KVSubIntensity, KVRandomIntensity.

error('Korvane:notCompiled', ['KVMultIntensity is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

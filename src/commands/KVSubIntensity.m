function varargout = KVSubIntensity(varargin)
% KVSubIntensity  Replace the intensity of the field, keeping its phase.
%
%   Fout = KVSubIntensity(Intensity, Fin)
%
%   Intensity  N x N array of new intensities (squared amplitudes)
%   Fin   input field of dimension N
%   Fout  output field, same grid as Fin
%
%   Each sample becomes sqrt(Intensity)*exp(i*phase of Fin). A sample whose
%   real part is 0 takes the phase 1.570796327 (imaginary part >= 0) or
%   4.712388981 (otherwise), so a zero field given an intensity of ones
%   becomes a field of i. A negative intensity gives NaN.
%
%   The array lines up with the field: element (r, c) acts on the sample in
%   row r, column c of the field (y along the rows, x along the columns).
%   It must have exactly N rows and N columns. Any numeric or logical array
%   is accepted (an 8-bit image from imread, a logical mask, single,
%   integer or sparse) and used as doubles; only real parts are used.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     I = imread('mask.png');          % 256 x 256 grey image
%     F = KVSubIntensity(I, F);
%     imagesc(KVIntensity(0, F)); axis image
%
%   See also KVSubPhase, KVMultIntensity, KVIntensity.

error('Korvane:notCompiled', ['KVSubIntensity is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

function varargout = KVInterpol(varargin)
% KVInterpol  Resample the field onto a new grid, shifted, rotated and magnified.
%
%   Fout = KVInterpol(new_size, new_number, x_shift, y_shift, angle, magnification, Fin)
%
%   new_size          side length of the new grid
%   new_number        dimension of the new grid (truncated to an integer, at
%                     least 5)
%   x_shift, y_shift  where the centre of the field lands on the new grid
%   angle             rotation of the field, in degrees, from x toward y
%   magnification     magnification of the field; amplitudes are divided by
%                     it, so the power over the area is kept
%   Fin               input field
%   Fout              output field: new_number x (new_number + 1), header size
%                     new_size, lambda and curvature as in Fin
%
%   Each new sample is mapped back into Fin and interpolated bilinearly
%   (real and imaginary parts separately):
%     Fout(x, y) = Fin(R*((x, y) - shift)/magnification)/magnification
%   with R the rotation by -angle. New samples that map outside Fin, or onto
%   its first or last row or column, are 0. A negative magnification turns
%   the field by 180 degrees and changes its sign; magnification 0 gives a
%   field of zeros. With the same grid, no shift, angle 0 and magnification
%   1 the interior is copied and the border rows and columns become 0.
%
%   Two grid rules. KVInterpol and KVForward space their samples by
%   size/(N - 1), on both the input and the output grid: the first and the
%   last sample of a side lie size apart. Every other command spaces them by
%   size/N, F(r, c) at x = (c - 1 - floor(N/2))*size/N. The same field
%   record therefore means slightly different coordinates to the two
%   groups: a radius, waist or shift set by another command, seen by
%   KVInterpol or KVForward, is larger by the factor N/(N - 1) (1.6 % at
%   N = 64, 0.4 % at N = 256), and the grid is scaled by that factor about
%   its centre sample; a KVLens focal length f, a quadratic phase, acts as
%   f*(N/(N - 1))^2 (3.2 % at N = 64). To carry a feature of Fin unchanged in
%   these commands' own terms, keep new_size/(new_number - 1) equal to the
%   spacing you intend; to land a shift exactly on a sample of the new grid,
%   give it in multiples of new_size/(new_number - 1).
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 128);
%     F = KVRectAperture(2e-3, 1e-3, 0, 0, 0, F);
%     G = KVInterpol(5e-3, 128, 1e-3, 0, 30, 1.5, F);   % shifted, turned 30 deg, 1.5x
%     imagesc(KVIntensity(0, G)); axis image
%
%   See also KVForward, KVBegin, KVConvert.

error('Korvane:notCompiled', ['KVInterpol is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

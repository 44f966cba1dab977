function varargout = KVForward(varargin)
% KVForward  Propagate the field over a distance by direct integration.
%
%   Fout = KVForward(z, NewSize, NewNumber, Fin)
%
%   z          propagation distance, in the unit of size and lambda; must
%              be positive (see below)
%   NewSize    side length of the output grid
%   NewNumber  dimension of the output grid, truncated to an integer M of
%              at least 8
%   Fin        input field
%   Fout       the propagated field on the new M x M grid; its size is
%              NewSize, lambda and curvature are those of Fin
%
%   Each input sample is a square pixel of uniform amplitude; its Fresnel
%   integral is taken exactly over the pixel and added into every output
%   sample, so the input and output grids may differ freely in side and
%   dimension, and no Fourier transform (with its periodic copies) is
%   involved. The constant phase exp(i*2*pi*z/lambda) is not applied. The
%   sums are formed as two complex matrix products through the BLAS that
%   the host has loaded, and grow as N^2*M + N*M^2; the manual's
%   performance page gives the times measured where it was built.
%
%   z < 0 (lambda*z < 0) gives a field of NaN: this command does not
%   propagate backwards. z = 0 copies into each output sample the value of
%   the input pixel it lies in, and gives NaN on the lines that fall exactly
%   on a pixel edge. One NaN sample in Fin makes every output sample NaN.
%
%   Grid rule. KVForward (like KVInterpol) spaces its samples by
%   size/(N - 1), on both grids: F(r, c) lies at
%   x = (c - 1 - floor(N/2))*size/(N - 1), y = (r - 1 - floor(N/2))*size/(N - 1).
%   Every other command uses size/N. A field drawn by another command is therefore seen here
%   stretched by N/(N - 1) about its centre sample (1.6 % at N = 64, 0.4 %
%   at N = 256): an aperture radius or a beam waist R acts as R*N/(N - 1),
%   and a lens of focal length f made by KVLens acts as one of focal length
%   f*(N/(N - 1))^2, so its focus lies that much further. On the output
%   grid the spacing is NewSize/(NewNumber - 1); for a spacing d as the
%   other commands count it, pass NewSize = d*(NewNumber - 1).
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 256);
%     F = KVCircAperture(1e-3, 0, 0, F);
%     F = KVForward(1, 5e-3, 128, F);       % 1 m behind a 2 mm hole
%     imagesc(KVIntensity(1, F)); axis image
%
%   See also KVBegin, KVCircAperture, KVLens, KVInterpol, KVIntensity.

error('Korvane:notCompiled', ['KVForward is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end

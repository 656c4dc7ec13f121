// A product plus a sum, in a translation unit of its own that is built for a processor with fused
// multiply-add: the contraction test calls it with operands that the fused form rounds otherwise.
namespace korden::testing {

double productPlusSum(double a, double b, double c) { return a * b + c; }

}  // namespace korden::testing
